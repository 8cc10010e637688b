#include "games/StopCar.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kStopCar = 9;

class StopCarTest : public StageTest {
protected:
    StopCarLayer* road() { return layerAs<StopCarLayer>(); }

    bool driving(int i) { return road()->car(i)->tag() == StopCarLayer::kDriving; }
    // A finger on the car's tail: the hit test uses where the last tick saw the car, a little behind it.
    Point tail(int i) {
        const Point p = road()->car(i)->position();
        return {p.x + 30, p.y};
    }
    void tapCar(int i) { tap(tail(i).x, tail(i).y); }
    // Whether a finger on car i's tail would also stop one of the spared cars.
    bool meetsSpared(int i, unsigned spare) {
        const Rect finger = makeRect(tail(i).x, tail(i).y, 5, 5);
        for (int j = 0; j < road()->carCount(); ++j) {
            if ((spare & (1u << j)) != 0 && rectIntersectsRect(finger, road()->carRect(j))) return true;
        }
        return false;
    }
    // Plays as a player who stops every car in sight except those in `spare`, one tap at a time, until
    // those are all stopped or the stage is decided.
    void play(unsigned spare = 0, int limit = 400) {
        for (int f = 0; f < limit && !decided(); ++f) {
            bool left = false;
            for (int i = 0; i < road()->carCount(); ++i) left = left || ((spare & (1u << i)) == 0 && driving(i));
            if (!left) return;
            bool tapped = false;
            for (int i = 0; i < road()->carCount() && !tapped; ++i) {
                if ((spare & (1u << i)) == 0 && driving(i) && road()->car(i)->position().x < 470 &&
                    road()->carRect(i).size.width > 0 && !meetsSpared(i, spare)) {
                    tapCar(i);
                    tapped = true;
                }
            }
            if (!tapped) frame();
        }
    }
    static int resultPictures(MiniGameLayer* layer) {
        int count = 0;
        for (const Ref<Node>& child : layer->children()) count += child->zOrder() == 10 ? 1 : 0;
        return count;
    }
};

TEST_F(StopCarTest, StoppingEveryCarWinsAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        SCOPED_TRACE(level);
        MiniGameLayer* layer = startStage(kStopCar, level);
        ASSERT_NE(road(), nullptr);
        EXPECT_EQ(road()->carCount(), level + 2);
        play();
        ASSERT_TRUE(runUntilDecided());
        EXPECT_TRUE(game().win);
        EXPECT_EQ(road()->stoppedCount(), level + 2);
        for (int i = 0; i < road()->carCount(); ++i) {
            EXPECT_GE(road()->car(i)->position().x, 21);
            EXPECT_EQ(road()->wreckPosition(i), road()->car(i)->position()) << "the wreck covers car " << i;
        }
        EXPECT_LT(layer->currentTime(), 3.0f);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(StopCarTest, OneCarReachingTheLineLosesEvenWhenTheOthersWereStopped) {
    for (int level = 1; level <= 3; ++level) {
        SCOPED_TRACE(level);
        MiniGameLayer* layer = startStage(kStopCar, level);
        play(1u);  // car 0 is let through
        ASSERT_TRUE(runUntilDecided());
        EXPECT_FALSE(game().win);
        EXPECT_EQ(road()->stoppedCount(), level + 1);
        EXPECT_LT(road()->car(0)->position().x, 21);
        EXPECT_LE(layer->currentTime(), 3.2f) << "no car takes more than three seconds";
        finishStage();
        EXPECT_EQ(game().Life, 4);
        director().end();
    }
}

TEST_F(StopCarTest, TheStageHasNoTimeOutOfItsOwn) {
    MiniGameLayer* layer = startStage(kStopCar, 1);
    // Untouched, the cars decide the stage long before five seconds.
    ASSERT_TRUE(runUntilDecided());
    EXPECT_FALSE(game().win);
    EXPECT_LE(layer->currentTime(), 3.2f);
    EXPECT_GE(resultPictures(layer), 1);
}

TEST_F(StopCarTest, TappingAStoppedCarOrTheRoadDoesNothing) {
    startStage(kStopCar, 2);
    for (int f = 0; f < 60 && (road()->carRect(0).size.width == 0 || road()->carRect(0).origin.x > 400); ++f) {
        frame();
    }
    tap(240, 300);
    EXPECT_EQ(road()->stoppedCount(), 0);
    tapCar(0);
    ASSERT_FALSE(driving(0));
    ASSERT_EQ(road()->stoppedCount(), 1);
    const Point stopped = road()->car(0)->position();
    frames(12);
    EXPECT_EQ(road()->car(0)->position(), stopped);
    tapCar(0);
    EXPECT_EQ(road()->stoppedCount(), 1) << "a stopped car counts once";
}

TEST_F(StopCarTest, OneTapStopsEveryCarItMeets) {
    // Heights are random: start stages until two cars overlap under one finger.
    for (int attempt = 0; attempt < 30; ++attempt) {
        startStage(kStopCar, 3);
        for (int f = 0; f < 150 && !decided(); ++f) {
            frame();
            for (int i = 0; i < 5; ++i) {
                for (int j = i + 1; j < 5; ++j) {
                    const Rect a = road()->carRect(i), b = road()->carRect(j);
                    if (!rectIntersectsRect(a, b) || a.maxX() > 470 || b.maxX() > 470) continue;
                    const float x = std::max(a.minX(), b.minX()) + 1, y = std::max(a.minY(), b.minY()) + 1;
                    if (std::min(a.maxX(), b.maxX()) - x < 6 || std::min(a.maxY(), b.maxY()) - y < 6) continue;
                    tap(x, y);
                    EXPECT_FALSE(driving(i));
                    EXPECT_FALSE(driving(j));
                    EXPECT_EQ(road()->stoppedCount(), 2);
                    return;
                }
            }
        }
        director().end();
    }
    FAIL() << "no two cars overlapped in thirty stages";
}

}  // namespace
}  // namespace quintora
