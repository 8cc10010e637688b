// The director's GL half: attaching and detaching the view, its formats, the frame-rate counter, and the
// view's surface.
#include <gtest/gtest.h>

#include "engine/CharMapLabel.hpp"
#include "engine/Errors.hpp"
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

using DirectorGLTest = GLTest;

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

TEST_F(DirectorGLTest, TheViewRebuildsItsSurfaceOnlyWhenTheRoundedSizeChangesAndStillDraws) {
    EAGLView* view = director().openGLView();
    const int before = view->rebuildCount();
    for (const Size size : {Size{320.2f, 479.8f}, Size{330, 480}, Size{320, 480}}) view->setFrame({{0, 0}, size});
    EXPECT_EQ(view->rebuildCount(), before + 2);
    Ref<Scene> scene = runScene();
    director().setDisplayFPS(true);
    frames(20);
    director().setDisplayFPS(false);
    EXPECT_NEAR(director().frameRate(), 60, 1);
    // The frame-rate counter's digits sit in the lower-left corner of the screen.
    const platform::Bitmap shot = screen();
    int lit = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 64; ++x) lit += pixelAt(shot, x, y)[0] > 128 ? 1 : 0;
    }
    EXPECT_GT(lit, 20) << "the digits were not drawn";
}

}  // namespace
}  // namespace quintora
