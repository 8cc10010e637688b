#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES/gl.h>

#include <cstdlib>

#include "platform/Display.hpp"
#include "platform/Log.hpp"

namespace quintora::platform {
namespace {

class HeadlessDisplay final : public Display {
  public:
    HeadlessDisplay(EGLDisplay display, EGLContext context, int scale)
        : display_(display), context_(context), scale_(scale) {}

    // The EGL display is left initialised: terminating it unloads the GL driver, and the driver's own
    // bookkeeping, still allocated, would then show up as leaks of an unknown library at exit.
    ~HeadlessDisplay() override {
        if (isCurrent()) eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display_, context_);
    }

    bool makeCurrent() override {
        return eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) == EGL_TRUE;
    }
    [[nodiscard]] bool isCurrent() const override { return eglGetCurrentContext() == context_; }
    void releaseCurrent() override {
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    [[nodiscard]] void* procAddress(const char* name) const override {
        return reinterpret_cast<void*>(eglGetProcAddress(name));
    }
    [[nodiscard]] int scale() const override { return scale_; }
    // Nothing to show: screenshots read the engine's framebuffer directly. The finished frame is still
    // handed to the driver, as a window's swap would: a software driver otherwise keeps queueing frame
    // after frame, and every texture deleted meanwhile, until its queue is full.
    bool present(unsigned, int, int, int, int, bool changed) override {
        if (changed) glFlush();
        return true;
    }

  private:
    EGLDisplay display_;
    EGLContext context_;
    int scale_;
};

}  // namespace

std::unique_ptr<Display> openHeadlessDisplay(int scale) {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        log("headless display: EGL has no eglGetPlatformDisplayEXT");
        return nullptr;
    }
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (display == EGL_NO_DISPLAY || eglInitialize(display, &major, &minor) != EGL_TRUE) {
        logf("headless display: no surfaceless EGL display (error 0x%04X)", eglGetError());
        return nullptr;
    }
    eglBindAPI(EGL_OPENGL_ES_API);
    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_ES_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    eglChooseConfig(display, configAttributes, &config, 1, &configs);
    const EGLint contextAttributes[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
    EGLContext context = eglCreateContext(display, configs > 0 ? config : EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT,
                                          contextAttributes);
    if (context == EGL_NO_CONTEXT) {
        logf("headless display: no GL ES 1.1 context (error 0x%04X)", eglGetError());
        eglTerminate(display);
        return nullptr;
    }
    return std::make_unique<HeadlessDisplay>(display, context, scale);
}

void keepGraphicsInProcess() {
    // Mesa's own switches, read when the driver loads.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    setenv("LP_NUM_THREADS", "0", 1);
}

}  // namespace quintora::platform
