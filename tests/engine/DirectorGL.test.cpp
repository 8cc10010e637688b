// The director's GL half: attaching and detaching the view, its formats, the frame-rate counter, and the
// view's surface.
#include <gtest/gtest.h>

#include "engine/CharMapLabel.hpp"
#include "engine/Errors.hpp"
#include "engine/Sprite.hpp"
#include "support/GLTest.hpp"

namespace quintora {
namespace {

using testing::GLTest;
using testing::pixelAt;

template <class Call>
std::string exceptionName(Call call) {
    try {
        call();
    } catch (const EngineException& e) {
        return e.name() + ": " + e.reason();
    }
    return "no exception";
}

class DirectorGLTest : public GLTest {};

TEST_F(DirectorGLTest, AttachAndDetachRaiseTheirNamedExceptions) {
    platform::Display* display = &director().openGLView()->display();
    EXPECT_EQ(exceptionName([&] { director().attachInWindow(display); }),
              "kEngineException_OpenGLViewAlreadyAttached: Can't re-attach the OpenGL View, because it is already "
              "attached. Detach it first.");
    EXPECT_EQ(exceptionName([&] { director().setPixelFormat(DirectorPixelFormat::RGBA8); }),
              "DirectorAlreadyInitialized: Can't change the pixel format after the director was initialized");
    EXPECT_EQ(exceptionName([&] { director().setDepthBufferFormat(DirectorDepthFormat::Depth16); }),
              "DirectorAlreadyInitialized: Can't change the depth buffer format after the director was initialized");

    director().detach();
    EXPECT_FALSE(director().isAttached());
    EXPECT_EQ(exceptionName([&] { director().detach(); }),
              "kEngineException_OpenGLViewNotAttached: Can't detach the OpenGL View, because it is not attached. "
              "Attach it first.");
    EXPECT_EQ(exceptionName([&] { director().attachInView(nullptr); }),
              "kEngineException_OpenGLViewCantAttach: Can't attach the OpenGL View.");
    EXPECT_FALSE(director().isAttached());
    // Attaching again reuses the view made the first time.
    EAGLView* view = director().openGLView();
    EXPECT_TRUE(director().attachInWindow(display));
    EXPECT_EQ(director().openGLView(), view);
}

TEST_F(DirectorGLTest, UserInteractionOffAtAttachKeepsTouchesFromEveryLayer) {
    platform::Display* display = &director().openGLView()->display();
    director().detach();
    display->userInteractionEnabled = false;
    director().attachInWindow(display);
    display->userInteractionEnabled = true;
    EXPECT_FALSE(director().eventsEnabled());
    struct Catcher : Layer {
        bool handleTouchesBegan(const TouchSet&, const TouchEvent&) override {
            ++touches;
            return true;
        }
        int touches = 0;
    };
    Ref<Scene> scene = runScene();
    Ref<Catcher> catcher(new Catcher());
    catcher->setIsTouchEnabled(true);
    scene->addChild(catcher.get());
    director().openGLView()->touches(TouchPhase::Began, {Touch{1, {10, 10}}}, {});
    EXPECT_EQ(catcher->touches, 0);
    director().detach();
    director().attachInWindow(display);
    director().openGLView()->touches(TouchPhase::Began, {Touch{1, {10, 10}}}, {});
    EXPECT_EQ(catcher->touches, 1);
}

TEST_F(DirectorGLTest, TheViewRebuildsItsSurfaceOnlyWhenTheRoundedSizeChanges) {
    EAGLView* view = director().openGLView();
    const int before = view->rebuildCount();
    view->setFrame({{0, 0}, {320.2f, 479.8f}});
    EXPECT_EQ(view->rebuildCount(), before);
    view->setFrame({{0, 0}, {330, 480}});
    EXPECT_EQ(view->rebuildCount(), before + 1);
    EXPECT_EQ(view->surfaceSize(), (Size{330, 480}));
    view->setFrame({{0, 0}, {320, 480}});
    EXPECT_EQ(view->rebuildCount(), before + 2);
    // Still draws after the rebuilds.
    Ref<Scene> scene = runScene();
    Ref<Sprite> dot = Sprite::spriteWithFile(solidImage("dot.png", 8, 8, {255, 255, 255, 255}));
    dot->setPosition({20, 20});
    scene->addChild(dot.get());
    frame();
    EXPECT_GT(pixelAt(screen(), 20, 20)[0], 200);
}

TEST_F(DirectorGLTest, TheFrameRateCounterCountsAndDrawsItsDigits) {
    Ref<Scene> scene = runScene();
    director().setDisplayFPS(true);
    frames(20);
    director().setDisplayFPS(false);
    EXPECT_NEAR(director().frameRate(), 60, 1);
    // The counter sits in the lower-left corner of the screen.
    const platform::Bitmap shot = screen();
    int lit = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 64; ++x) lit += pixelAt(shot, x, y)[0] > 128 ? 1 : 0;
    }
    EXPECT_GT(lit, 20) << "the digits were not drawn";
}

}  // namespace
}  // namespace quintora
