#include "games/FollowWay.hpp"

#include <cmath>
#include <vector>

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kFollowWay = 15;

FollowWayLayer* way() { return StageTest::layerAs<FollowWayLayer>(); }

// Drags the finger through the points, `speed` points and one move event a frame, keeping it down at the
// end; stops early once the stage is decided.
void walk(StageTest& t, const std::vector<Point>& points, float speed = 8) {
    Point at = points.front();
    StageTest::touch(TouchPhase::Began, at.x, at.y);
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Point from = at, to = points[i];
        const int steps =
            std::max(1, static_cast<int>(std::ceil(std::hypot(to.x - from.x, to.y - from.y) / speed)));
        for (int s = 1; s <= steps && !StageTest::decided(); ++s) {
            t.frame();
            const float f = static_cast<float>(s) / static_cast<float>(steps);
            at = {from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f};
            StageTest::touch(TouchPhase::Moved, at.x, at.y);
        }
    }
}

// Along the middle of the drawn way to the house.
void followTheWay(StageTest& t, int level) {
    const Point start = way()->characterPosition(), house = way()->housePosition();
    const std::vector<std::vector<Point>> ways = {
        {start, {108, 92}, {300, 75}, house},
        {start, {410, 270}, {410, 150}, {60, 150}, {60, 40}, house},
        {start, {40, 50}, {150, 50}, {150, 205}, {290, 205}, {290, 50}, {428, 50}, house}};
    walk(t, ways[static_cast<std::size_t>(level - 1)]);
    t.frames(10);  // the next tick finds it at the house
    EXPECT_LT(way()->currentTime(), 4.5f);
}
// Straight at the fire beside the start.
void intoTheFire(StageTest& t, int level) {
    const Point fire = way()->fireRect(level == 3 ? 1 : 0).centre();
    walk(t, {way()->characterPosition(), fire}, 6);
    for (int i = 0; i < 20 && !StageTest::decided(); ++i) {
        t.frame();
        StageTest::touch(TouchPhase::Moved, fire.x, fire.y);
    }
    EXPECT_LT(way()->currentTime(), 2.0f);
    EXPECT_EQ(way()->fireRect(level == 3 ? 1 : 0), Rect{}) << "a fire catches once";
}

TEST_F(StageTest, OnlyATouchBeginningOnTheCharacterCarriesItAndLettingGoOrCancellingDropsIt) {
    startStage(kFollowWay, 1);
    const Point start = way()->characterPosition();
    walk(*this, {{start.x + 60, start.y}, start, {start.x, start.y - 40}});
    touch(TouchPhase::Ended, start.x, start.y - 40);
    EXPECT_EQ(way()->characterPosition(), start) << "begun beside it";

    walk(*this, {start, {108, 92}});
    touch(TouchPhase::Cancelled, 108, 92);
    frames(7);
    walk(*this, {{300, 75}, {320, 70}});
    EXPECT_EQ(way()->characterPosition(), (Point{108, 92})) << "a cancelled touch let go of it";
    EXPECT_FALSE(decided());
}

}  // namespace

const StagePlayer kFollowWayPlayer{followTheWay, intoTheFire, false};

}  // namespace quintora::testing
