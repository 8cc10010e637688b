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
    // The window flipped upright, every point two pixels at scale 2, and bars beside or above a window
    // that is not 3:2.
    EXPECT_EQ(sceneFromWindow(0, 319.5f, 480, 320), (Point{0, 0.5f}));
    EXPECT_EQ(sceneFromWindow(120 + 200, 40, 1200, 640), (Point{100, 300}));
    EXPECT_EQ(sceneFromWindow(100, 40 + 20, 480, 400), (Point{100, 300}));
    // The bars themselves are not the screen.
    EXPECT_FALSE(platform::windowToView(50, 300, 1200, 640).has_value());
    EXPECT_FALSE(platform::windowToView(100, 10, 480, 400).has_value());
}

}  // namespace
}  // namespace quintora
