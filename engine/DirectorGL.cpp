// The director's GL half: attaching the GL view, the GL state every frame is drawn with, the
// projection, the landscape turn, presenting, and the frame-rate counter.
#include <GLES/gl.h>

#include <cmath>
#include <cstdio>
#include <numbers>

#include "engine/CharMapLabel.hpp"
#include "engine/Director.hpp"
#include "engine/EAGLView.hpp"
#include "engine/Errors.hpp"
#include "engine/Matrix.hpp"
#include "platform/Display.hpp"

namespace quintora {
namespace {

Mat4 perspective(float fovyDegrees, float aspect, float zNear, float zFar) {
    const float f = 1.0f / std::tan(fovyDegrees * std::numbers::pi_v<float> / 360.0f);
    Mat4 m;
    m.m = {f / aspect,
           0,
           0,
           0,
           0,
           f,
           0,
           0,
           0,
           0,
           (zFar + zNear) / (zNear - zFar),
           -1,
           0,
           0,
           2 * zFar * zNear / (zNear - zFar),
           0};
    return m;
}

}  // namespace

EAGLView* Director::openGLView() const { return openGLView_.get(); }

bool Director::attachInWindow(platform::Display* window) {
    return initOpenGLViewWithView(window, {{0, 0}, frameSize_});
}

bool Director::attachInView(platform::Display* view) {
    return initOpenGLViewWithView(view, {{0, 0}, frameSize_});
}

bool Director::attachInView(platform::Display* view, Rect frame) {
    return initOpenGLViewWithView(view, frame);
}

bool Director::initOpenGLViewWithView(platform::Display* view, Rect frame) {
    if (attached_) {
        throw EngineException(
            "kEngineException_OpenGLViewAlreadyAttached",
            "Can't re-attach the OpenGL View, because it is already attached. Detach it first.");
    }
    // Without a parent there is nothing to attach to; the view is made on its parent's display, so this
    // is known before one is made.
    if (view == nullptr) {
        throw EngineException("kEngineException_OpenGLViewCantAttach", "Can't attach the OpenGL View.");
    }
    if (!openGLView_) {
        const ColorFormat format =
            pixelFormat_ == DirectorPixelFormat::RGBA8 ? ColorFormat::RGBA8 : ColorFormat::RGB565;
        const unsigned depth = depthBufferFormat_ == DirectorDepthFormat::Depth16   ? EAGLView::kDepth16
                               : depthBufferFormat_ == DirectorDepthFormat::Depth24 ? EAGLView::kDepth24
                                                                                    : EAGLView::kDepthNone;
        openGLView_ = EAGLView::initWithFrame(*view, frame, format, depth, false);
        if (!openGLView_) {
            throw EngineException("kEngineException_OpenGLViewCantInit",
                                  "Could not alloc and init the OpenGL View.");
        }
        openGLView_->setAutoresizesEAGLSurface(true);
        openGLView_->setTouchDelegate(this);
    } else {
        openGLView_->setFrame(frame);
    }
    frameSize_ = frame.size;
    openGLView_->userInteractionEnabled = view->userInteractionEnabled;
    eventsEnabled_ = view->userInteractionEnabled;
    openGLView_->multipleTouchEnabled = view->multipleTouchEnabled;
    // The view's display is the only window it can go into.
    if (&openGLView_->display() == view) openGLView_->setSuperview(view);
    if (openGLView_->superview() == nullptr) {
        throw EngineException("kEngineException_OpenGLViewCantAttach", "Can't attach the OpenGL View.");
    }
    attached_ = true;
    initGLDefaultValues();
    return true;
}

void Director::detach() {
    if (!attached_) {
        throw EngineException("kEngineException_OpenGLViewNotAttached",
                              "Can't detach the OpenGL View, because it is not attached. Attach it first.");
    }
    openGLView_->setSuperview(nullptr);
    if (openGLView_->superview() != nullptr) {
        throw EngineException("kEngineException_OpenGLViewCantDetach",
                              "Can't detach the OpenGL View, it is still attached to the superview.");
    }
    attached_ = false;
}

void Director::setPixelFormat(DirectorPixelFormat format) {
    if (openGLView_) {
        throw EngineException("DirectorAlreadyInitialized",
                              "Can't change the pixel format after the director was initialized");
    }
    pixelFormat_ = format;
}

void Director::setDepthBufferFormat(DirectorDepthFormat format) {
    if (openGLView_) {
        throw EngineException("DirectorAlreadyInitialized",
                              "Can't change the depth buffer format after the director was initialized");
    }
    depthBufferFormat_ = format;
}

void Director::initGLDefaultValues() {
    QASSERT(openGLView_ != nullptr, "openGLView_ must be initialized");
    applyFrameState();
    if (!FPSLabel_) FPSLabel_ = CharMapLabel::labelWithString("00.0", "fps_images.png", 16, 24, '.');
}

// The window's own drawing at present time changes GL state, so the state every frame is drawn with is
// set again at the start of each frame.
void Director::applyFrameState() {
    openGLView_->bindFramebuffer();
    const Size pixels = openGLView_->surfaceSize();
    glViewport(0, 0, static_cast<GLsizei>(pixels.width), static_cast<GLsizei>(pixels.height));
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glClearDepthf(1.0f);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    setDefaultProjection();
    glClearColor(0, 0, 0, 1);
}

void Director::setDefaultProjection() {
    const Size size = frameSize_;
    glMatrixMode(GL_PROJECTION);
    projection() = perspective(60, size.width / size.height, 0.5f, 1500.0f);
    glLoadMatrixf(projection().m.data());
    // Looking straight down the z axis from above the centre: at z = 0 one unit is one point.
    const float zEye = size.height / 1.1566f;
    MatrixStack& stack = modelView();
    stack.loadIdentity();
    stack.top().translate(-size.width / 2, -size.height / 2, -zEye);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(stack.top().m.data());
}

void Director::applyLandscape() {
    Mat4& m = modelView().top();
    m.translate(160, 240, 0);
    m.rotateZ(-90);
    m.translate(-240, -160, 0);
}

void Director::prepareFrame() {
    if (attached_) applyFrameState();
}

void Director::clearBuffers() {
    if (attached_) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Director::presentFrame(bool changed) {
    if (attached_) openGLView_->swapBuffers(changed);
}

void Director::showFPS() {
    ++frames_;
    accumDt_ += dt_;
    if (accumDt_ > 0.1f) {
        frameRate_ = static_cast<float>(frames_) / accumDt_;
        frames_ = 0;
        accumDt_ = 0;
    }
    if (!FPSLabel_ || !attached_) return;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(frameRate_));
    FPSLabel_->setString(text);
    FPSLabel_->visit();
}

}  // namespace quintora
