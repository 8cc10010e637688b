// The arrow keys steer a tilt stage the way they point on screen.
#include "app/desktop/TiltStandIn.hpp"

#include <gtest/gtest.h>

#include "games/GolfHole.hpp"
#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

class TiltKeysTest : public StageTest {
  public:
    // The golf ball's movement over half a second with the given keys held.
    Point steer(void (TiltStandIn::*press)(bool)) {
        startStage(14, 1);
        const Point start = layerAs<GolfHoleLayer>()->ballPosition();
        TiltStandIn keys;
        (keys.*press)(true);
        for (int i = 0; i < 30; ++i) {
            Accelerometer::sharedAccelerometer().deliver(keys.sample());
            frame();
        }
        const Point end = layerAs<GolfHoleLayer>()->ballPosition();
        director().end();
        return end - start;
    }
};

TEST_F(TiltKeysTest, EachArrowMovesTheBallItsWay) {
    // The ball starts near the upper-left corner, 50 points from the left edge and the top.
    const struct {
        void (TiltStandIn::*press)(bool);
        Point direction;
    } keys[] = {{&TiltStandIn::setRight, {1, 0}},
                {&TiltStandIn::setDown, {0, -1}},
                {&TiltStandIn::setLeft, {-1, 0}},
                {&TiltStandIn::setUp, {0, 1}}};
    for (const auto& key : keys) {
        const Point moved = steer(key.press);
        EXPECT_GT(moved.x * key.direction.x + moved.y * key.direction.y, 20)
            << key.direction.x << ", " << key.direction.y;
        EXPECT_NEAR(moved.x * key.direction.y + moved.y * key.direction.x, 0, 1) << "and only that way";
    }
}

}  // namespace
}  // namespace quintora
