// The director's GL half: attaching and detaching the view, its formats, and the view's surface.
#include <gtest/gtest.h>

#include "support/GLTest.hpp"

namespace quintora {
namespace {

using testing::engineExceptionOf;
using testing::GLTest;

using DirectorGLTest = GLTest;

TEST_F(DirectorGLTest, AttachAndDetachRaiseTheirNamedExceptions) {
    platform::Display* display = &director().openGLView()->display();
    EXPECT_EQ(
        engineExceptionOf([&] { director().attachInWindow(display); }),
        "kEngineException_OpenGLViewAlreadyAttached: Can't re-attach the OpenGL View, because it is already "
        "attached. Detach it first.");
    EXPECT_EQ(engineExceptionOf([&] { director().setPixelFormat(DirectorPixelFormat::RGBA8); }),
              "DirectorAlreadyInitialized: Can't change the pixel format after the director was initialized");
    EXPECT_EQ(engineExceptionOf([&] { director().setDepthBufferFormat(DirectorDepthFormat::Depth16); }),
              "DirectorAlreadyInitialized: Can't change the depth buffer format after the director was "
              "initialized");

    director().detach();
    EXPECT_FALSE(director().isAttached());
    EXPECT_EQ(
        engineExceptionOf([&] { director().detach(); }),
        "kEngineException_OpenGLViewNotAttached: Can't detach the OpenGL View, because it is not attached. "
        "Attach it first.");
    EXPECT_EQ(engineExceptionOf([&] { director().attachInView(nullptr); }),
              "kEngineException_OpenGLViewCantAttach: Can't attach the OpenGL View.");
    EXPECT_FALSE(director().isAttached());
    // Attaching again reuses the view made the first time.
    EAGLView* view = director().openGLView();
    EXPECT_TRUE(director().attachInWindow(display));
    EXPECT_EQ(director().openGLView(), view);
}

TEST_F(DirectorGLTest, TheViewRebuildsItsSurfaceOnlyWhenTheRoundedSizeChanges) {
    EAGLView* view = director().openGLView();
    const int before = view->rebuildCount();
    for (const Size size : {Size{320.2f, 479.8f}, Size{330, 480}, Size{320, 480}})
        view->setFrame({{0, 0}, size});
    EXPECT_EQ(view->rebuildCount(), before + 2);
}

}  // namespace
}  // namespace quintora
