// The arrow keys steer a tilt stage the way they point on screen.
#include "app/TiltStandIn.hpp"
#include "app/TiltSteering.hpp"

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
    } keys[] = {{&TiltStandIn::setRight, {1, 0}}, {&TiltStandIn::setDown, {0, -1}},
                {&TiltStandIn::setLeft, {-1, 0}}, {&TiltStandIn::setUp, {0, 1}}};
    for (const auto& key : keys) {
        const Point moved = steer(key.press);
        EXPECT_GT(moved.x * key.direction.x + moved.y * key.direction.y, 20) << key.direction.x << ", " << key.direction.y;
        EXPECT_NEAR(moved.x * key.direction.y + moved.y * key.direction.x, 0, 1) << "and only that way";
    }
    EXPECT_EQ(TiltStandIn().sample().x, 0);
    EXPECT_EQ(TiltStandIn().sample().y, 0);
}

TEST(TiltSteering, TheGainSettlesOnceTheReadingKeepsItsSignAndTheStepCompoundsWithoutSamples) {
    TiltSteering steering;
    steering.sample({-0.5, 0, -1, 0});
    EXPECT_FLOAT_EQ(steering.xaccel, 2.0f) << "a first reading down the screen meets the starting gain";
    EXPECT_FLOAT_EQ(steering.ballx, -1.0f);
    steering.sample({-0.5, 0, -1, 0});
    EXPECT_FLOAT_EQ(steering.xaccel, 2.85f) << "the same sign again settles it";
    EXPECT_FLOAT_EQ(steering.ballx, -1.425f);
    steering.sample({0.5, 0, -1, 0});
    EXPECT_FLOAT_EQ(steering.xaccel, 2.85f) << "and it stays there";
    EXPECT_FLOAT_EQ(steering.ballx, 1.425f);
    EXPECT_EQ(steering.tickStep(), (Point{0, 71.25f}));
    EXPECT_EQ(steering.tickStep(), (Point{0, 3562.5f})) << "a tick without a sample steps fifty times further";
    steering = TiltSteering{};
    steering.sample({0, -0.5, -1, 0});
    EXPECT_FLOAT_EQ(steering.bally, 1.425f) << "a negative y reading steers right";
    EXPECT_EQ(keptOnScreen({-3, 400}), (Point{0, 320}));
    EXPECT_EQ(keptOnScreen({500, -1}), (Point{480, 0}));
}

}  // namespace
}  // namespace quintora
