#include "games/SparkMove.hpp"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kSparkMove = 3;
// The tilt a held arrow key gives, in g.
constexpr double kTilt = 0.5;
// Screen directions as tilts: up is +x, right is -y.
constexpr double kUp = kTilt, kDown = -kTilt, kRight = -kTilt, kLeft = kTilt;

class SparkMoveTest : public StageTest {
protected:
    SparkMoveLayer* start(int level) {
        startStage(kSparkMove, level);
        SparkMoveLayer* layer = layerAs<SparkMoveLayer>();
        EXPECT_NE(layer, nullptr);
        return layer;
    }
    // Holds the keys that bring the figure towards a point, letting go of an axis once close on it.
    void steerToward(Point from, Point to) {
        constexpr float kNear = 4;
        const float dx = to.x - from.x;
        const float dy = to.y - from.y;
        setTilt(dy > kNear ? kUp : dy < -kNear ? kDown : 0, dx > kNear ? kRight : dx < -kNear ? kLeft : 0);
    }
    static Rect playerRect(const SparkMoveLayer* layer) { return makeRect(layer->playerPosition().x - 14, layer->playerPosition().y - 20, 28, 40); }
    static Rect sparkRect(const SparkMoveLayer* layer, int i) { return makeRect(layer->sparkPosition(i).x - 8, layer->sparkPosition(i).y - 18, 16, 36); }
};

TEST_F(SparkMoveTest, HidingWhereNoCloudGoesLastsTheFiveSecondsAtEveryLevel) {
    const int expected[] = {5, 6, 7};
    for (int level = 1; level <= 3; ++level) {
        SparkMoveLayer* layer = start(level);
        ASSERT_EQ(layer->sparks(), expected[level - 1]);
        // The clouds never drift left of x = 100, so the left edge is out of every spark's way.
        setTilt(0, kLeft);
        ASSERT_TRUE(runUntilDecided());
        EXPECT_TRUE(game().win) << "level " << level;
        EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
        EXPECT_LT(layer->playerPosition().x, 40.0f);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(SparkMoveTest, RunningUnderTheSparksLosesAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        game().Totaltime = 0;
        SparkMoveLayer* layer = start(level);
        // Chase the lowest spark still above the figure's feet, staying at the figure's height.
        for (int i = 0; i < 400 && !decided(); ++i) {
            int target = 0;
            for (int s = 1; s < layer->sparks(); ++s) {
                const float y = layer->sparkPosition(s).y;
                if (y > 60 && (layer->sparkPosition(target).y <= 60 || y < layer->sparkPosition(target).y)) target = s;
            }
            steerToward(layer->playerPosition(), {layer->sparkPosition(target).x, 100});
            tiltFrames(1);
        }
        ASSERT_TRUE(decided());
        EXPECT_FALSE(game().win) << "level " << level;
        EXPECT_LT(layer->currentTime(), 4.5f);
        bool met = false;
        for (int s = 0; s < layer->sparks(); ++s) met = met || rectIntersectsRect(sparkRect(layer, s), playerRect(layer));
        EXPECT_TRUE(met);
        finishStage();
        EXPECT_EQ(game().Life, 4);
        EXPECT_LT(game().Totaltime, 4.5f);
        director().end();
    }
}

TEST_F(SparkMoveTest, OnlyTheSparksHitTheCloudsDoNot) {
    SparkMoveLayer* layer = start(1);
    // Climb to the clouds' height at the left edge, out of reach, and wait for every spark to be down.
    setTilt(kUp, kLeft);
    while (!decided() && layer->playerPosition().y < 255) tiltFrames(1);
    auto allDown = [&] {
        for (int s = 0; s < layer->sparks(); ++s) {
            if (layer->sparkPosition(s).y > -30) return false;
        }
        return true;
    };
    while (!decided() && !allDown()) {
        steerToward(layer->playerPosition(), {0, 260});
        tiltFrames(1);
    }
    ASSERT_FALSE(decided());
    // The nearest cloud now hangs where its spark fell from; fly right into it.
    float nearest = 1000;
    for (int s = 0; s < layer->sparks(); ++s) nearest = std::min(nearest, layer->sparkPosition(s).x);
    const Rect cloud = makeRect(nearest - 35, 240, 70, 40);
    bool inCloud = false;
    while (!decided()) {
        steerToward(layer->playerPosition(), {nearest, 260});
        tiltFrames(1);
        inCloud = inCloud || rectIntersectsRect(cloud, playerRect(layer));
    }
    EXPECT_TRUE(inCloud);
    EXPECT_TRUE(game().win);
}

TEST_F(SparkMoveTest, ASparkStillRidingWithItsCloudHitsAFigureTiltedToTheTop) {
    SparkMoveLayer* layer = start(3);
    bool ridingHit = false;
    for (int i = 0; i < 400 && !decided(); ++i) {
        // Head for the spark that is furthest from falling: the one nearest the figure among those still up.
        int target = -1;
        for (int s = 0; s < layer->sparks(); ++s) {
            if (layer->sparkPosition(s).y < 260) continue;
            if (target < 0 || std::fabs(layer->sparkPosition(s).x - layer->playerPosition().x) <
                                  std::fabs(layer->sparkPosition(target).x - layer->playerPosition().x)) {
                target = s;
            }
        }
        if (target < 0) break;
        steerToward(layer->playerPosition(), {layer->sparkPosition(target).x, 260});
        tiltFrames(1);
        if (decided()) {
            for (int s = 0; s < layer->sparks(); ++s) {
                ridingHit = ridingHit || (layer->sparkPosition(s).y == 260 &&
                                          rectIntersectsRect(sparkRect(layer, s), playerRect(layer)));
            }
        }
    }
    ASSERT_TRUE(decided());
    EXPECT_FALSE(game().win);
    EXPECT_TRUE(ridingHit);
}

TEST_F(SparkMoveTest, AFallenSparkBelowTheScreenNoLongerHitsAFigureOnTheBottomEdge) {
    SparkMoveLayer* layer = start(1);
    // Wait at the left edge until the first spark is down, then stand on the bottom edge right under it.
    int fallen = -1;
    setTilt(0, kLeft);
    while (!decided() && fallen < 0) {
        tiltFrames(1);
        for (int s = 0; s < layer->sparks(); ++s) {
            if (layer->sparkPosition(s).y <= -30) fallen = s;
        }
    }
    ASSERT_GE(fallen, 0);
    const Point spark = layer->sparkPosition(fallen);
    bool under = false;
    while (!decided()) {
        steerToward(layer->playerPosition(), {spark.x, 0});
        if (layer->playerPosition().y < 40) setTilt(kDown, tilt_.y);  // keep pressing into the edge
        tiltFrames(1);
        // The figure, half off screen, overlaps the spark lying out of sight below the edge.
        under = under || rectIntersectsRect(sparkRect(layer, fallen), playerRect(layer));
    }
    EXPECT_TRUE(under);
    EXPECT_TRUE(game().win) << "nothing on screen touched the figure";
}

TEST_F(SparkMoveTest, WithoutFreshSamplesTheLastReadingIsScaledAgainAtEveryTick) {
    SparkMoveLayer* layer = start(1);
    // A barely tilted device, sampled all the time, hardly moves the figure...
    setTilt(0.002, 0);
    tiltFrames(60);
    EXPECT_LT(layer->playerPosition().y, 110.0f);
    // ...but once the samples stop, the stored reading grows fiftyfold at each tick and throws the figure
    // against the top edge.
    frames(30);
    EXPECT_GT(layer->playerPosition().y, 300.0f);
}

TEST_F(SparkMoveTest, AFigurePushedPastAnEdgeIsPutBackAtTheNextTick) {
    SparkMoveLayer* layer = start(1);
    setTilt(kUp, kLeft);
    float highest = 0;
    for (int i = 0; i < 150 && !decided(); ++i) {
        tiltFrames(1);
        highest = std::max(highest, layer->playerPosition().y);
    }
    EXPECT_GT(highest, 320.0f) << "between ticks the move may carry it past the edge";
    EXPECT_LT(highest, 320.0f + 60.0f) << "but each tick brings it back before the next step";
}

TEST_F(SparkMoveTest, TouchesPlayNoPart) {
    SparkMoveLayer* layer = start(2);
    const Point before = layer->playerPosition();
    tap(240, 100);
    tap(10, 10);
    EXPECT_FALSE(decided());
    EXPECT_EQ(layer->playerPosition(), before);
}

}  // namespace
}  // namespace quintora
