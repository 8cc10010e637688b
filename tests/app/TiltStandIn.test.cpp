// The arrow keys steer a tilt stage the way they point on screen.
#include "app/TiltStandIn.hpp"

#include <gtest/gtest.h>

#include "games/GolfHole.hpp"
#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

class TiltKeysTest : public StageTest {
protected:
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
    const Point right = steer(&TiltStandIn::setRight);
    EXPECT_GT(right.x, 20);
    EXPECT_NEAR(right.y, 0, 1);
    const Point down = steer(&TiltStandIn::setDown);
    EXPECT_LT(down.y, -20);
    EXPECT_NEAR(down.x, 0, 1);
    const Point left = steer(&TiltStandIn::setLeft);
    EXPECT_LT(left.x, -20);
    EXPECT_NEAR(left.y, 0, 1);
    const Point up = steer(&TiltStandIn::setUp);
    EXPECT_GT(up.y, 20);
    EXPECT_NEAR(up.x, 0, 1);
    TiltStandIn none;
    EXPECT_EQ(none.sample().x, 0);
    EXPECT_EQ(none.sample().y, 0);
}

}  // namespace
}  // namespace quintora
