#include "engine/EAGLView.hpp"

#include <GLES/gl.h>
#include <GLES/glext.h>

#include <cmath>

#include "engine/Director.hpp"
#include "platform/Display.hpp"
#include "platform/Log.hpp"

namespace quintora {
namespace {

// The framebuffer-object entry points are extension functions, looked up once through the display.
struct FramebufferFunctions {
    PFNGLGENFRAMEBUFFERSOESPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSOESPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFEROESPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DOESPROC framebufferTexture2D = nullptr;
    PFNGLGENRENDERBUFFERSOESPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSOESPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFEROESPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEOESPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEROESPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSOESPROC checkFramebufferStatus = nullptr;

    bool load(const platform::Display& display) {
        auto get = [&display](auto& function, const char* name) {
            function =
                reinterpret_cast<std::remove_reference_t<decltype(function)>>(display.procAddress(name));
            return function != nullptr;
        };
        return get(genFramebuffers, "glGenFramebuffersOES") &&
               get(deleteFramebuffers, "glDeleteFramebuffersOES") &&
               get(bindFramebuffer, "glBindFramebufferOES") &&
               get(framebufferTexture2D, "glFramebufferTexture2DOES") &&
               get(genRenderbuffers, "glGenRenderbuffersOES") &&
               get(deleteRenderbuffers, "glDeleteRenderbuffersOES") &&
               get(bindRenderbuffer, "glBindRenderbufferOES") &&
               get(renderbufferStorage, "glRenderbufferStorageOES") &&
               get(framebufferRenderbuffer, "glFramebufferRenderbufferOES") &&
               get(checkFramebufferStatus, "glCheckFramebufferStatusOES");
    }
};

FramebufferFunctions fbo;

GLsizei powerOfTwoAtLeast(float value) {
    GLsizei size = 1;
    while (static_cast<float>(size) < value) size *= 2;
    return size;
}

void reportGLError(const char* operation) {
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) platform::logf("OpenGL error 0x%04X in %s", error, operation);
}

}  // namespace

EAGLView::EAGLView(platform::Display& display, Rect frame, ColorFormat format, unsigned depthFormat)
    : display_(display), frame_(frame), scale_(display.scale()), format_(format), depthFormat_(depthFormat) {}

Ref<EAGLView> EAGLView::initWithFrame(platform::Display& display, Rect frame, ColorFormat format,
                                      unsigned depthFormat, bool /*preserveBackbuffer*/) {
    // The backbuffer is always kept: the colour texture lives until the next frame is drawn into it.
    Ref<EAGLView> view(new EAGLView(display, frame, format, depthFormat));
    if (!display.makeCurrent() || !fbo.load(display)) return nullptr;
    if (!view->createSurface()) return nullptr;
    return view;
}

EAGLView::~EAGLView() { destroySurface(); }

bool EAGLView::createSurface() {
    if (!display_.makeCurrent()) return false;
    const Size size{std::round(frame_.size.width * static_cast<float>(scale_)),
                    std::round(frame_.size.height * static_cast<float>(scale_))};
    if (size.width <= 0 || size.height <= 0) return false;
    GLint oldFramebuffer = 0;
    GLint oldRenderbuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &oldFramebuffer);
    glGetIntegerv(GL_RENDERBUFFER_BINDING_OES, &oldRenderbuffer);
    GLint oldTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &oldTexture);

    const GLsizei textureWidth = powerOfTwoAtLeast(size.width);
    const GLsizei textureHeight = powerOfTwoAtLeast(size.height);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (format_ == ColorFormat::RGBA8) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth, textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, textureWidth, textureHeight, 0, GL_RGB,
                     GL_UNSIGNED_SHORT_5_6_5, nullptr);
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(oldTexture));
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &texture);
        fbo.bindRenderbuffer(GL_RENDERBUFFER_OES, static_cast<GLuint>(oldRenderbuffer));
        return false;
    }

    GLuint framebuffer = 0;
    fbo.genFramebuffers(1, &framebuffer);
    fbo.bindFramebuffer(GL_FRAMEBUFFER_OES, framebuffer);
    fbo.framebufferTexture2D(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_TEXTURE_2D, texture, 0);
    GLuint depth = 0;
    if (depthFormat_ != kDepthNone) {
        fbo.genRenderbuffers(1, &depth);
        fbo.bindRenderbuffer(GL_RENDERBUFFER_OES, depth);
        fbo.renderbufferStorage(GL_RENDERBUFFER_OES, depthFormat_, textureWidth, textureHeight);
        fbo.framebufferRenderbuffer(GL_FRAMEBUFFER_OES, GL_DEPTH_ATTACHMENT_OES, GL_RENDERBUFFER_OES, depth);
    }
    if (fbo.checkFramebufferStatus(GL_FRAMEBUFFER_OES) != GL_FRAMEBUFFER_COMPLETE_OES) {
        platform::log("OpenGL framebuffer incomplete in createSurface");
        fbo.bindFramebuffer(GL_FRAMEBUFFER_OES, static_cast<GLuint>(oldFramebuffer));
        fbo.deleteFramebuffers(1, &framebuffer);
        if (depth) fbo.deleteRenderbuffers(1, &depth);
        glDeleteTextures(1, &texture);
        return false;
    }

    framebuffer_ = framebuffer;
    colorTexture_ = texture;
    depthBuffer_ = depth;
    size_ = size;
    textureSize_ = {static_cast<float>(textureWidth), static_cast<float>(textureHeight)};
    ++rebuilds_;
    if (!hasBeenCurrent_) {
        glViewport(0, 0, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height));
        glScissor(0, 0, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height));
        hasBeenCurrent_ = true;
    } else {
        fbo.bindFramebuffer(GL_FRAMEBUFFER_OES, static_cast<GLuint>(oldFramebuffer));
    }
    fbo.bindRenderbuffer(GL_RENDERBUFFER_OES, static_cast<GLuint>(oldRenderbuffer));
    reportGLError("createSurface");
    if (delegate_) delegate_->didResizeEAGLSurface();
    return true;
}

void EAGLView::destroySurface() {
    const bool wasCurrent = display_.isCurrent();
    if (!wasCurrent) display_.makeCurrent();
    if (depthBuffer_) fbo.deleteRenderbuffers(1, &depthBuffer_);
    if (colorTexture_) glDeleteTextures(1, &colorTexture_);
    if (framebuffer_) fbo.deleteFramebuffers(1, &framebuffer_);
    depthBuffer_ = colorTexture_ = framebuffer_ = 0;
    // One context serves the whole program, so there is no other one to go back to.
    if (wasCurrent) return;
    display_.releaseCurrent();
}

void EAGLView::setFrame(Rect frame) {
    frame_ = frame;
    layoutSubviews();
}

void EAGLView::setAutoresizesEAGLSurface(bool autoresize) {
    autoresize_ = autoresize;
    if (autoresize) layoutSubviews();
}

void EAGLView::layoutSubviews() {
    const Size rounded{std::round(frame_.size.width * static_cast<float>(scale_)),
                       std::round(frame_.size.height * static_cast<float>(scale_))};
    if (!autoresize_ || rounded == size_) return;
    destroySurface();
    display_.makeCurrent();
    createSurface();
}

bool EAGLView::setCurrentContext() {
    if (display_.makeCurrent()) return true;
    platform::logf("Failed to set current context %p in %s", static_cast<void*>(&display_),
                   "setCurrentContext");
    return false;
}

bool EAGLView::isCurrentContext() const { return display_.isCurrent(); }

void EAGLView::clearCurrentContext() { display_.releaseCurrent(); }

void EAGLView::bindFramebuffer() { fbo.bindFramebuffer(GL_FRAMEBUFFER_OES, framebuffer_); }

bool EAGLView::swapBuffers(bool changed) {
    if (!display_.isCurrent()) setCurrentContext();
    const bool shown = display_.present(colorTexture_, static_cast<int>(size_.width),
                                        static_cast<int>(size_.height), static_cast<int>(textureSize_.width),
                                        static_cast<int>(textureSize_.height), changed);
    if (!shown) platform::logf("Failed to swap renderbuffer in %s", "swapBuffers");
    // Showing the frame may have bound the window's own framebuffer.
    bindFramebuffer();
    return shown;
}

platform::Bitmap EAGLView::snapshotLandscape() {
    const int width = static_cast<int>(size_.width);    // portrait
    const int height = static_cast<int>(size_.height);  // portrait
    std::vector<std::uint8_t> portrait(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    bindFramebuffer();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, portrait.data());

    // Landscape pixel (column c, row r from the top) is scene point (c, H - 1 - r), which the landscape
    // turn puts at portrait pixel (H - 1 - r, W - 1 - c) counted from the lower left.
    platform::Bitmap landscape;
    landscape.width = height;
    landscape.height = width;
    landscape.pixels.resize(portrait.size());
    for (int r = 0; r < landscape.height; ++r) {
        for (int c = 0; c < landscape.width; ++c) {
            const int px = landscape.height - 1 - r;
            const int py = landscape.width - 1 - c;
            const std::uint8_t* from = &portrait[(static_cast<size_t>(py) * width + px) * 4];
            std::uint8_t* to = &landscape.pixels[(static_cast<size_t>(r) * landscape.width + c) * 4];
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
            to[3] = 255;  // the screen is opaque whatever the framebuffer's alpha says
        }
    }
    return landscape;
}

void EAGLView::touches(TouchPhase phase, const TouchSet& touches, const TouchEvent& event) {
    if (touchDelegate_ && userInteractionEnabled) touchDelegate_->touches(phase, touches, event);
}

}  // namespace quintora
