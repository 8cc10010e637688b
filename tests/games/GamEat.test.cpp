#include "games/GamEat.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kGamEat = 8;
constexpr double kTilt = 0.5;  // what a held arrow key gives, in g

GamEatLayer* gum() { return StageTest::layerAs<GamEatLayer>(); }

// Holds the keys that roll the figure towards a point (screen up is +x, screen right is -y), letting go
// of an axis within a few points.
void steerToward(StageTest& t, Point to) {
    const Point from = gum()->playerPosition();
    const float dx = to.x - from.x, dy = to.y - from.y;
    t.setTilt(dy > 6 ? kTilt : dy < -6 ? -kTilt : 0, dx > 6 ? -kTilt : dx < -6 ? kTilt : 0);
}

// The order a careful player eats the pieces in: the shortest route from the figure, each leg as long as
// its longer axis since both axes move at once (every order tried; at most nine pieces).
std::vector<int> plannedRoute() {
    auto leg = [](Point a, Point b) { return std::max(std::fabs(a.x - b.x), std::fabs(a.y - b.y)); };
    std::vector<int> order(static_cast<std::size_t>(gum()->pieces())), best;
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    float shortest = 1e9f;
    do {
        float length = leg(gum()->playerPosition(), gum()->piecePosition(order[0]));
        for (std::size_t i = 1; i < order.size() && length < shortest; ++i) {
            length += leg(gum()->piecePosition(order[i - 1]), gum()->piecePosition(order[i]));
        }
        if (length < shortest) shortest = length, best = order;
    } while (std::next_permutation(order.begin(), order.end()));
    return best;
}

void eatEverything(StageTest& t, int level) {
    EXPECT_EQ(gum()->pieces(), 6 + level);
    const std::vector<int> route = plannedRoute();
    for (int i = 0; i < 400 && !StageTest::decided(); ++i) {
        const auto next = std::find_if(route.begin(), route.end(), [](int p) { return gum()->isLying(p); });
        if (next != route.end()) steerToward(t, gum()->piecePosition(*next));
        t.tiltFrames(1);
    }
    EXPECT_EQ(gum()->eaten(), gum()->pieces());
}
// No piece ever lies in the top right corner.
void rollIntoTheCorner(StageTest& t, int) { t.setTilt(kTilt, -kTilt); }

TEST_F(StageTest, AnEatenPieceDoesNotCountAgainInTheLowerLeftCorner) {
    startStage(kGamEat, 2);
    const int first = plannedRoute().front();
    while (gum()->eaten() == 0 && !decided()) {
        steerToward(*this, gum()->piecePosition(first));
        tiltFrames(1);
    }
    ASSERT_FALSE(decided());
    // Held in the corner, the figure covers the point just off the screen's corner where an eaten
    // piece's rectangle could have been parked.
    setTilt(-kTilt, kTilt);
    tiltFrames(120);
    EXPECT_LT(gum()->playerPosition().x, 10.0f);
    EXPECT_LT(gum()->playerPosition().y, 10.0f);
    int gone = 0;
    for (int i = 0; i < gum()->pieces(); ++i) gone += gum()->isLying(i) ? 0 : 1;
    EXPECT_EQ(gum()->eaten(), gone);
    EXPECT_FALSE(decided());
}

}  // namespace

const StagePlayer kGamEatPlayer{eatEverything, rollIntoTheCorner, false};

}  // namespace quintora::testing
