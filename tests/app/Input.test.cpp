// A window pixel becomes the portrait view point the phone would report, which the director turns into
// the landscape scene point: the whole way from the mouse to the game.
#include <gtest/gtest.h>

#include "engine/Director.hpp"
#include "platform/Window.hpp"

namespace quintora {
namespace {

Point sceneFromWindow(float x, float y, int width, int height) {
    const auto view = platform::windowToView(x, y, width, height);
    EXPECT_TRUE(view.has_value());
    Director& director = Director::sharedDirector();
    director.setLandscape(true);
    return director.convertCoordinate({view->x, view->y});
}

TEST(TouchConversion, WindowPixelsBecomeScenePointsAtEveryScale) {
    // Scale 1: the window is the scene, flipped upright.
    EXPECT_EQ(sceneFromWindow(100, 20, 480, 320), (Point{100, 300}));
    EXPECT_EQ(sceneFromWindow(0, 319.5f, 480, 320), (Point{0, 0.5f}));
    // Scale 2: every point is two pixels.
    EXPECT_EQ(sceneFromWindow(200, 40, 960, 640), (Point{100, 300}));
    // Letterboxed: a window wider than 3:2 has bars left and right.
    const platform::Letterbox bars = platform::letterboxFor(1200, 640);
    EXPECT_FLOAT_EQ(bars.x, 120);
    EXPECT_FLOAT_EQ(bars.width, 960);
    EXPECT_EQ(sceneFromWindow(120 + 200, 40, 1200, 640), (Point{100, 300}));
    // ... and one taller than 3:2 has bars above and below.
    const platform::Letterbox top = platform::letterboxFor(480, 400);
    EXPECT_FLOAT_EQ(top.y, 40);
    EXPECT_EQ(sceneFromWindow(100, 40 + 20, 480, 400), (Point{100, 300}));
    // The bars themselves are not the screen.
    EXPECT_FALSE(platform::windowToView(50, 300, 1200, 640).has_value());
    EXPECT_FALSE(platform::windowToView(100, 10, 480, 400).has_value());
}

}  // namespace
}  // namespace quintora
