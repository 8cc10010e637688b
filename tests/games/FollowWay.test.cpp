#include "games/FollowWay.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kFollowWay = 15;

class FollowWayTest : public StageTest {
protected:
    FollowWayLayer* way() { return layerAs<FollowWayLayer>(); }

    // Drags the finger through the points at `speed` points a frame, one move event a frame, keeping the
    // finger down at the end. Stops early once the stage is decided.
    void walk(const std::vector<Point>& points, float speed = 8) {
        Point at = points.front();
        touch(TouchPhase::Began, at.x, at.y);
        for (std::size_t i = 1; i < points.size() && !decided(); ++i) {
            const Point to = points[i];
            const float length = std::hypot(to.x - at.x, to.y - at.y);
            const int steps = std::max(1, static_cast<int>(std::ceil(length / speed)));
            const Point from = at;
            for (int s = 1; s <= steps && !decided(); ++s) {
                frame();
                const float t = static_cast<float>(s) / static_cast<float>(steps);
                at = {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t};
                touch(TouchPhase::Moved, at.x, at.y);
            }
        }
    }
    // Frames until the next tick has run.
    void untilTick() {
        const float t = way()->currentTime();
        while (way()->currentTime() == t) frame();
    }
    static int resultPictures(MiniGameLayer* layer) {
        int count = 0;
        for (const Ref<Node>& child : layer->children()) count += child->zOrder() == 10 ? 1 : 0;
        return count;
    }
};

// The middle of the drawn way, from the character's start to the house, for each level.
std::vector<Point> wayOf(int level, Point start, Point house) {
    switch (level) {
        case 1: return {start, {108, 92}, {300, 75}, house};
        case 2: return {start, {410, 270}, {410, 150}, {60, 150}, {60, 40}, house};
        default: return {start, {40, 50}, {150, 50}, {150, 205}, {290, 205}, {290, 50}, {428, 50}, house};
    }
}

TEST_F(FollowWayTest, DraggingTheCharacterAlongTheWayToTheHouseWinsAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        SCOPED_TRACE(level);
        MiniGameLayer* layer = startStage(kFollowWay, level);
        ASSERT_NE(way(), nullptr);
        walk(wayOf(level, way()->characterPosition(), way()->housePosition()));
        // Reaching the house with the finger still down wins at the next tick.
        for (int i = 0; i < 10 && !decided(); ++i) frame();
        ASSERT_TRUE(decided());
        EXPECT_TRUE(game().win);
        EXPECT_LT(layer->currentTime(), 4.5f);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(FollowWayTest, DraggingTheCharacterIntoAFireLosesAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        SCOPED_TRACE(level);
        MiniGameLayer* layer = startStage(kFollowWay, level);
        const Point start = way()->characterPosition();
        // Straight at the nearest fire, which on every level lies beside the start.
        const Rect fire = way()->fireRect(level == 3 ? 1 : 0);
        const Point into = fire.centre();
        walk({start, into}, 6);
        for (int i = 0; i < 20 && !decided(); ++i) {
            frame();
            touch(TouchPhase::Moved, into.x, into.y);
        }
        ASSERT_TRUE(decided());
        EXPECT_FALSE(game().win);
        EXPECT_LT(layer->currentTime(), 2.0f);
        finishStage();
        EXPECT_EQ(game().Life, 4);
        director().end();
    }
}

TEST_F(FollowWayTest, LeftAloneTheStageIsLostAtTheTimeOut) {
    MiniGameLayer* layer = startStage(kFollowWay, 2);
    ASSERT_TRUE(runUntilDecided());
    EXPECT_FALSE(game().win);
    EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
}

TEST_F(FollowWayTest, PickingUpAndLettingGo) {
    startStage(kFollowWay, 1);
    const Point start = way()->characterPosition();
    // A touch that begins beside the character does not pick it up, even when the finger passes over it.
    walk({{start.x + 60, start.y}, start, {start.x, start.y - 40}});
    touch(TouchPhase::Ended, start.x, start.y - 40);
    EXPECT_EQ(way()->characterPosition(), start);

    // Picked up, carried, let go, and picked up again where it was left.
    walk({start, {100, 160}});
    touch(TouchPhase::Ended, 100, 160);
    untilTick();
    walk({{100, 160}, {108, 92}});
    touch(TouchPhase::Ended, 108, 92);
    EXPECT_EQ(way()->characterPosition(), (Point{108, 92}));
    EXPECT_FALSE(decided());

    // A cancelled touch lets go too: the next touch that begins elsewhere does not move the character.
    untilTick();
    touch(TouchPhase::Began, 108, 92);
    touch(TouchPhase::Cancelled, 108, 92);
    walk({{300, 75}, {320, 70}});
    EXPECT_EQ(way()->characterPosition(), (Point{108, 92}));
}

TEST_F(FollowWayTest, ObstaclesAreJudgedByTheRectangleOfTheLastTick) {
    startStage(kFollowWay, 3);
    // Down to the height where the narrow upright fire beside the start is crossed.
    walk({way()->characterPosition(), {40, 200}});
    untilTick();
    // Across the 36-point fire in two move events, between two ticks: not caught.
    touch(TouchPhase::Moved, 85, 200);
    frame();
    touch(TouchPhase::Moved, 130, 200);
    untilTick();
    touch(TouchPhase::Moved, 130, 200);
    EXPECT_FALSE(decided());
    touch(TouchPhase::Ended, 130, 200);

    // Put down on that fire just before a tick, then no move: the tick finds it there, but nothing is
    // judged until a move event, from any finger.
    untilTick();
    touch(TouchPhase::Began, 130, 200);
    touch(TouchPhase::Moved, 80, 170);
    touch(TouchPhase::Ended, 80, 170);
    for (int i = 0; i < 3; ++i) untilTick();
    EXPECT_FALSE(decided());
    touch(TouchPhase::Began, 400, 100);
    touch(TouchPhase::Moved, 401, 100);
    EXPECT_TRUE(decided());
    EXPECT_FALSE(game().win);
}

TEST_F(FollowWayTest, AFireCatchesOnceButAnotherStillTurnsAWinIntoALoss) {
    MiniGameLayer* layer = startStage(kFollowWay, 1);
    walk(wayOf(1, way()->characterPosition(), way()->housePosition()));
    untilTick();
    ASSERT_TRUE(decided());
    ASSERT_TRUE(game().win);
    EXPECT_EQ(resultPictures(layer), 1);

    // Still held while the win picture shows: onto the fire beside the house.
    const Rect fire = way()->fireRect(3);
    const Point into = fire.centre();
    walk({way()->characterPosition(), into}, 20);
    // No tick runs any more, so the character is judged where the last tick saw it: on the house.
    touch(TouchPhase::Moved, into.x, into.y);
    EXPECT_TRUE(game().win);
    EXPECT_EQ(resultPictures(layer), 1);
    finishStage();
    EXPECT_EQ(game().Life, 5);
}

TEST_F(FollowWayTest, AFireThatCaughtTheCharacterIsEmptied) {
    MiniGameLayer* layer = startStage(kFollowWay, 2);
    walk({way()->characterPosition(), {50, 210}}, 6);
    for (int i = 0; i < 20 && !decided(); ++i) {
        frame();
        touch(TouchPhase::Moved, 50, 210);
    }
    ASSERT_TRUE(decided());
    EXPECT_EQ(way()->fireRect(0), Rect{});
    EXPECT_EQ(resultPictures(layer), 1);
    for (int i = 0; i < 10; ++i) {
        frame();
        touch(TouchPhase::Moved, 50, 210);
    }
    EXPECT_EQ(resultPictures(layer), 1) << "caught once only";
    EXPECT_FALSE(game().win);
}

}  // namespace
}  // namespace quintora
