#include "games/GamEat.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Clock.hpp"
#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kGamEat = 8;
// The tilt a held arrow key gives, in g.
constexpr double kTilt = 0.5;

class GamEatTest : public StageTest {
protected:
    GamEatLayer* start(int level) {
        startStage(kGamEat, level);
        GamEatLayer* layer = layerAs<GamEatLayer>();
        EXPECT_NE(layer, nullptr);
        return layer;
    }

    // Holds the keys that bring the figure towards a point: screen up is a tilt to +x, screen right a
    // tilt to -y. Within a few points of the point on an axis, that axis's key is let go.
    void steerToward(Point from, Point to, double tilt) {
        constexpr float kNear = 6;
        const float dx = to.x - from.x;
        const float dy = to.y - from.y;
        const double ax = dy > kNear ? tilt : dy < -kNear ? -tilt : 0;
        const double ay = dx > kNear ? -tilt : dx < -kNear ? tilt : 0;
        setTilt(ax, ay);
    }

    // The order in which a careful player would visit the pieces: the shortest route from the figure's
    // place, each leg as long as its longer axis, since both axes move at once.
    static std::vector<int> plannedRoute(const GamEatLayer* layer) {
        const int n = layer->pieces();
        auto leg = [](Point a, Point b) { return std::max(std::fabs(a.x - b.x), std::fabs(a.y - b.y)); };
        const int full = (1 << n) - 1;
        std::vector<float> best(static_cast<size_t>((full + 1) * n), std::numeric_limits<float>::max());
        std::vector<int> from(best.size(), -1);
        auto at = [n](int mask, int last) { return static_cast<size_t>(mask * n + last); };
        for (int i = 0; i < n; ++i) best[at(1 << i, i)] = leg(layer->playerPosition(), layer->piecePosition(i));
        for (int mask = 1; mask <= full; ++mask) {
            for (int last = 0; last < n; ++last) {
                if (!(mask & (1 << last)) || best[at(mask, last)] == std::numeric_limits<float>::max()) continue;
                for (int next = 0; next < n; ++next) {
                    if (mask & (1 << next)) continue;
                    const float cost = best[at(mask, last)] + leg(layer->piecePosition(last), layer->piecePosition(next));
                    if (cost < best[at(mask | (1 << next), next)]) {
                        best[at(mask | (1 << next), next)] = cost;
                        from[at(mask | (1 << next), next)] = last;
                    }
                }
            }
        }
        int last = 0;
        for (int i = 1; i < n; ++i) {
            if (best[at(full, i)] < best[at(full, last)]) last = i;
        }
        std::vector<int> route;
        for (int mask = full; last >= 0;) {
            route.push_back(last);
            const int before = from[at(mask, last)];
            mask &= ~(1 << last);
            last = before;
        }
        std::reverse(route.begin(), route.end());
        return route;
    }

    // Plays the stage: follows the planned route, always heading for the first piece still lying.
    bool eatEverything(GamEatLayer* layer, double tilt) {
        const std::vector<int> route = plannedRoute(layer);
        for (int i = 0; i < 400 && !decided(); ++i) {
            auto next = std::find_if(route.begin(), route.end(), [&](int p) { return layer->isLying(p); });
            if (next != route.end()) steerToward(layer->playerPosition(), layer->piecePosition(*next), tilt);
            tiltFrames(1);
        }
        return decided() && game().win;
    }
};

TEST_F(GamEatTest, EatingEveryPieceWinsAtEveryLevel) {
    const int expected[] = {7, 8, 9};
    for (int level = 1; level <= 3; ++level) {
        GamEatLayer* layer = start(level);
        ASSERT_EQ(layer->pieces(), expected[level - 1]);
        EXPECT_TRUE(eatEverything(layer, kTilt)) << "level " << level;
        EXPECT_EQ(layer->eaten(), layer->pieces());
        EXPECT_LT(layer->currentTime(), 4.9f);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(GamEatTest, EveryLayoutCanBeEatenInTime) {
    // Many layouts, each at its largest size: a careful player finishes every one with time to spare.
    float slowest = 0;
    for (int seed = 0; seed < 12; ++seed) {
        platform::useVirtualClock(1230768000 + 7919 * seed);
        GamEatLayer* layer = start(3);
        EXPECT_TRUE(eatEverything(layer, kTilt)) << "layout " << seed;
        slowest = std::max(slowest, layer->currentTime());
        director().end();
    }
    EXPECT_LT(slowest, 4.6f);
}

TEST_F(GamEatTest, RollingIntoTheEmptyCornerLosesAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        game().Totaltime = 0;
        GamEatLayer* layer = start(level);
        // No piece ever lies in the top right corner.
        setTilt(kTilt, -kTilt);
        ASSERT_TRUE(runUntilDecided());
        EXPECT_FALSE(game().win) << "level " << level;
        EXPECT_LT(layer->eaten(), layer->pieces());
        EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
        EXPECT_EQ(layer->playerPosition(), (Point{480, 320}));
        finishStage();
        EXPECT_EQ(game().Life, 4);
        EXPECT_NEAR(game().Totaltime, 5.0f, 1e-3);
        director().end();
    }
}

TEST_F(GamEatTest, APieceUnderTheStartingPlaceIsEatenAtTheFirstTickAndOnlyOnce) {
    // Look through a few layouts for one with a piece under the figure.
    GamEatLayer* layer = nullptr;
    int under = -1;
    for (int seed = 0; seed < 40 && under < 0; ++seed) {
        platform::useVirtualClock(1230768000 + 101 * seed);
        layer = start(1);
        for (int i = 0; i < layer->pieces(); ++i) {
            const Point p = layer->piecePosition(i);
            if (std::fabs(p.x - 240) < 31 && std::fabs(p.y - 100) < 28) under = i;
        }
        if (under < 0) director().end();
    }
    ASSERT_GE(under, 0);
    while (layer->currentTime() < 0.05f) frame();
    EXPECT_FALSE(layer->isLying(under));
    const int eaten = layer->eaten();
    EXPECT_GE(eaten, 1);
    // Still fading out under the figure, it is not eaten again.
    frames(40);
    EXPECT_EQ(layer->eaten(), eaten);
}

TEST_F(GamEatTest, AnEatenPieceDoesNotCountAgainInTheLowerLeftCorner) {
    GamEatLayer* layer = start(2);
    const std::vector<int> route = plannedRoute(layer);
    while (layer->eaten() == 0 && !decided()) {
        steerToward(layer->playerPosition(), layer->piecePosition(route.front()), kTilt);
        tiltFrames(1);
    }
    ASSERT_FALSE(decided());
    // Down into the corner and held there: the figure there covers the point just below and left of
    // the screen's corner, where an eaten piece's rectangle could otherwise have been parked.
    setTilt(-kTilt, kTilt);
    tiltFrames(120);
    const Point at = layer->playerPosition();
    EXPECT_LT(at.x, 10.0f);
    EXPECT_LT(at.y, 10.0f);
    int notLying = 0;
    for (int i = 0; i < layer->pieces(); ++i) notLying += layer->isLying(i) ? 0 : 1;
    ASSERT_LT(notLying, layer->pieces());
    EXPECT_EQ(layer->eaten(), notLying);
    EXPECT_FALSE(decided()) << "no piece lies in the corner, so nothing there can complete the count";
}

}  // namespace
}  // namespace quintora
