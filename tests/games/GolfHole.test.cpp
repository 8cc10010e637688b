#include "games/GolfHole.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kGolfHole = 14;
// The tilt a held arrow key should give: strong enough to reach the hole round the bunker with time to
// spare, gentle enough that the ball does not overshoot a waypoint by more than a few points per tick.
constexpr double kTilt = 0.5;

class GolfHoleTest : public StageTest {
protected:
    GolfHoleLayer* golf() { return layerAs<GolfHoleLayer>(); }

    // A player steering through waypoints: the device's y reading rolls the ball across, its x reading up
    // and down, so tilting "towards" a point means y < 0 to go right and x > 0 to go up. Ends when the
    // stage is decided or `limit` frames have passed.
    void steer(const std::vector<Point>& waypoints, double tilt = kTilt, int limit = 400) {
        std::size_t next = 0;
        for (int i = 0; i < limit && !decided(); ++i) {
            const Point ball = golf()->ballPosition();
            while (next + 1 < waypoints.size() && std::fabs(waypoints[next].x - ball.x) < 6 &&
                   std::fabs(waypoints[next].y - ball.y) < 6) {
                ++next;
            }
            const float dx = waypoints[next].x - ball.x, dy = waypoints[next].y - ball.y;
            const double across = std::fabs(dx) < 4 ? 0 : (dx > 0 ? -tilt : tilt);
            const double upDown = std::fabs(dy) < 4 ? 0 : (dy > 0 ? tilt : -tilt);
            setTilt(upDown, across);
            tiltFrames(1);
        }
    }

    Point hole() {
        return golf()->holeRect().centre();
    }
};

// Round the bunker's upper-left corner on level 2; straight down the diagonal between the hazards on 3.
std::vector<Point> route(int level, Point hole) {
    if (level == 2) return {{50, 225}, hole};
    return {hole};
}

TEST_F(GolfHoleTest, TiltingTheBallIntoTheHoleWinsAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        SCOPED_TRACE(level);
        MiniGameLayer* layer = startStage(kGolfHole, level);
        ASSERT_NE(golf(), nullptr);
        steer(route(level, hole()));
        ASSERT_TRUE(decided());
        EXPECT_TRUE(game().win);
        EXPECT_LT(layer->currentTime(), 4.0f) << "with time to spare";
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(GolfHoleTest, HeldFlatTheBallStaysOnTheTeeAndTheStageIsLostAtTheTimeOut) {
    MiniGameLayer* layer = startStage(kGolfHole, 1);
    setTilt(0, 0);
    ASSERT_TRUE(runUntilDecided());
    EXPECT_FALSE(game().win);
    EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
    EXPECT_EQ(golf()->ballPosition().x, 50);
    EXPECT_EQ(golf()->ballPosition().y, 270);
    finishStage();
    EXPECT_EQ(game().Life, 4);
}

TEST_F(GolfHoleTest, ARunThroughTheBunkerIsTooSlowOnLevelTwo) {
    MiniGameLayer* layer = startStage(kGolfHole, 2);
    steer({{200, 180}, hole()});
    ASSERT_TRUE(decided());
    EXPECT_FALSE(game().win);
    EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f) << "lost by the time-out, not by a hazard";
    finishStage();
    EXPECT_EQ(game().Life, 4);
}

TEST_F(GolfHoleTest, RollingIntoAHazardLosesAtOnceOnLevelThree) {
    MiniGameLayer* layer = startStage(kGolfHole, 3);
    // Down the left side, then right into the lower pond.
    steer({{50, 90}, {200, 90}});
    ASSERT_TRUE(decided());
    EXPECT_FALSE(game().win);
    EXPECT_LT(layer->currentTime(), 4.0f);
    const Point ball = golf()->ballPosition();
    EXPECT_GT(ball.x + 7, 73.0f) << "stopped at the water's edge";
    EXPECT_LT(ball.x, 100.0f);
    finishStage();
    EXPECT_EQ(game().Life, 4);
}

TEST_F(GolfHoleTest, HazardsAreOnlyOnLevelThreeAndOnlyTheirFixedRectanglesCatchTheBall) {
    // The same run down the left side and across the lower pond is harmless on level 1.
    startStage(kGolfHole, 1);
    steer({{50, 90}, {200, 90}}, kTilt, 150);
    EXPECT_FALSE(decided());
    EXPECT_NEAR(golf()->ballPosition().x, 200, 8);
    director().end();

    // On level 3 the upper pond's picture reaches well beyond its 30 x 40 catching corner: the ball may
    // cross the picture's upper right part.
    startStage(kGolfHole, 3);
    steer({{290, 270}, {290, 200}}, kTilt, 200);
    EXPECT_FALSE(decided());
    EXPECT_NEAR(golf()->ballPosition().y, 200, 8);
}

TEST_F(GolfHoleTest, ABallPushedOffTheScreenIsPutBackOnTheEdgeAtTheNextTick) {
    startStage(kGolfHole, 1);
    float highest = 0;
    setTilt(kTilt, 0);  // up, off the top
    for (int i = 0; i < 30; ++i) {
        tiltFrames(1);
        highest = std::max(highest, golf()->ballPosition().y);
    }
    EXPECT_GT(highest, 320);
    setTilt(0, 0);
    tiltFrames(8);
    EXPECT_EQ(golf()->ballPosition().y, 320);
    EXPECT_EQ(golf()->ballPosition().x, 50);

    float leftmost = 50;
    setTilt(0, kTilt);  // left, off the side
    for (int i = 0; i < 30; ++i) {
        tiltFrames(1);
        leftmost = std::min(leftmost, golf()->ballPosition().x);
    }
    EXPECT_LT(leftmost, 0);
    setTilt(0, 0);
    tiltFrames(8);
    EXPECT_EQ(golf()->ballPosition().x, 0);
}

TEST_F(GolfHoleTest, TheBunkerSlowsTheBall) {
    startStage(kGolfHole, 2);
    // Straight across at the bunker's height: compare the distance covered per tenth of a second before and
    // inside the bunker (left edge at x 155, ball 14 wide).
    steer({{50, 180}}, kTilt, 60);
    setTilt(0, -kTilt);
    std::vector<float> xs;
    for (int i = 0; i < 150 && golf()->ballPosition().x < 230; ++i) {
        tiltFrames(1);
        xs.push_back(golf()->ballPosition().x);
    }
    ASSERT_GE(xs.size(), 60u);
    const float before = xs[20] - xs[14];  // well before the bunker
    float inside = 1e9f;
    for (std::size_t i = 6; i < xs.size(); ++i) {
        if (xs[i - 6] > 170) inside = std::min(inside, xs[i] - xs[i - 6]);
    }
    EXPECT_GT(before, 10.0f);
    EXPECT_LT(inside, before / 3) << "the ball crawls once inside";
}

}  // namespace
}  // namespace quintora
