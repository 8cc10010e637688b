#include "games/Baseball.hpp"

#include <gtest/gtest.h>

#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kBaseball = 5;

class BaseballTest : public StageTest {
protected:
    static BaseballLayer* baseball() { return dynamic_cast<BaseballLayer*>(stageLayer()); }

    static Point runButtonCentre() {
        return baseball()->runButton().centre();
    }
    static void run() {
        const Point p = runButtonCentre();
        tap(p.x, p.y);
    }
    // A tap that begins and ends between two frames, so that no tick can come in between.
    static void quickRun() {
        const Point p = runButtonCentre();
        touch(TouchPhase::Began, p.x, p.y);
        touch(TouchPhase::Ended, p.x, p.y);
    }
    static Rect playerRect() {
        const Point p = baseball()->playerPosition();
        return makeRect(p.x - 27, p.y - 20, 54, 40);  // the runner's image is 54 x 40
    }
    static Rect ballRect() {
        const Point p = baseball()->ballPosition();
        return makeRect(p.x - 7, p.y - 7, 14, 14);  // the ball's image is 14 x 14
    }
    static float ballspeed(int level) { return level == 3 ? 1.5f : level == 2 ? 2.0f : 3.0f; }
};

TEST_F(BaseballTest, AQuickRunnerStealsTheBaseAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        startStage(kBaseball, level);
        ASSERT_NE(baseball(), nullptr);
        int taps = 0;
        while (!rectIntersectsRect(playerRect(), baseball()->secondBase()) && taps < 15) {
            run();
            ++taps;
        }
        EXPECT_EQ(taps, 9) << "nine steps bring our runner onto the base";
        ASSERT_TRUE(runUntilDecided(10));
        EXPECT_TRUE(game().win);
        EXPECT_FALSE(rectIntersectsRect(ballRect(), baseball()->secondBase()));
        const Point ballStopped = baseball()->ballPosition();
        frames(30);
        EXPECT_FLOAT_EQ(baseball()->ballPosition().y, ballStopped.y) << "the ball stops where it was";
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(BaseballTest, ASlowRunnerIsBeatenByTheBallAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        startStage(kBaseball, level);
        // A tap every 0.4 s needs 3.6 s for the nine steps: longer than the ball at any level.
        int taps = 0;
        while (!decided() && taps < 15) {
            run();
            ++taps;
            for (int i = 0; i < 23 && !decided(); ++i) frame();
        }
        ASSERT_TRUE(decided());
        EXPECT_FALSE(game().win);
        EXPECT_LT(taps, 9);
        EXPECT_TRUE(rectIntersectsRect(ballRect(), baseball()->secondBase()));
        EXPECT_LE(baseball()->currentTime(), 1.0f + ballspeed(level) + 0.05f);
        EXPECT_GE(baseball()->currentTime(), 1.0f + 0.6f * ballspeed(level));
        // The run button still moves the runner, but nothing judges it any more.
        const Point before = baseball()->playerPosition();
        for (int i = 0; i < 9; ++i) run();
        EXPECT_FLOAT_EQ(baseball()->playerPosition().x, before.x - 108);
        EXPECT_FALSE(game().win);
        finishStage();
        EXPECT_EQ(game().Life, 4);
        director().end();
    }
}

TEST_F(BaseballTest, RunningPastTheBaseCannotWin) {
    startStage(kBaseball, 1);
    for (int i = 0; i < 22; ++i) quickRun();
    EXPECT_FLOAT_EQ(baseball()->playerPosition().x, 420.0f - 12 * 22);
    EXPECT_FLOAT_EQ(baseball()->playerPosition().y, 170.0f + 6 * 22);
    ASSERT_FALSE(rectIntersectsRect(playerRect(), baseball()->secondBase()));
    ASSERT_TRUE(runUntilDecided());
    EXPECT_FALSE(game().win);
}

TEST_F(BaseballTest, FifteenStepsEndExactlyOnTheBase) {
    startStage(kBaseball, 1);
    for (int i = 0; i < 15; ++i) quickRun();
    EXPECT_FLOAT_EQ(baseball()->playerPosition().x, 240.0f);
    EXPECT_FLOAT_EQ(baseball()->playerPosition().y, 260.0f);
}

TEST_F(BaseballTest, TapsBelowOrLeftOfTheButtonCountWithinTheTouchSquare) {
    startStage(kBaseball, 2);
    const Rect button = baseball()->runButton();
    const float midX = button.origin.x + button.size.width / 2;
    const float midY = button.origin.y + button.size.height / 2;
    const float x0 = baseball()->playerPosition().x;
    tap(button.origin.x - 29, midY);  // the square reaches one point into the button
    EXPECT_FLOAT_EQ(baseball()->playerPosition().x, x0 - 12);
    tap(midX, button.origin.y - 29);
    EXPECT_FLOAT_EQ(baseball()->playerPosition().x, x0 - 24);
    tap(button.origin.x - 30, midY);  // the square's edge only touches the button
    tap(midX, button.origin.y - 30);
    tap(button.origin.x + button.size.width + 1, midY);
    tap(midX, button.origin.y + button.size.height + 1);
    EXPECT_FLOAT_EQ(baseball()->playerPosition().x, x0 - 24);
}

TEST_F(BaseballTest, RunnerAndBallArrivingInTheSameTickIsAWin) {
    startStage(kBaseball, 3);
    for (int i = 0; i < 8; ++i) run();
    ASSERT_FALSE(rectIntersectsRect(playerRect(), baseball()->secondBase())) << "one step short";
    while (!decided() && !rectIntersectsRect(ballRect(), baseball()->secondBase())) frame();
    ASSERT_FALSE(decided()) << "the ball is at the base and the next tick has not come yet";
    quickRun();
    ASSERT_TRUE(runUntilDecided(10));
    EXPECT_TRUE(game().win);
    int pictures = 0;
    for (const Ref<Node>& child : baseball()->children()) pictures += child->zOrder() == 10 ? 1 : 0;
    EXPECT_EQ(pictures, 2) << "the lose picture, then the win picture over it";
    finishStage();
    EXPECT_EQ(game().Life, 5);
}

}  // namespace
}  // namespace quintora
