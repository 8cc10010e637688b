#include "platform/Window.hpp"

#include <EGL/egl.h>
#include <GLES/gl.h>
#include <GLES/glext.h>
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/Image.hpp"
#include "platform/Log.hpp"

namespace quintora::platform {
namespace {

constexpr float kSceneWidth = 480;
constexpr float kSceneHeight = 320;

// The window manager takes the icon with straight alpha; the decoder gives it premultiplied.
void setWindowIcon(SDL_Window* window, const std::string& file) {
    if (file.empty()) return;
    std::optional<Bitmap> icon = decodePng(file);
    if (!icon) return;
    for (std::size_t i = 0; i + 3 < icon->pixels.size(); i += 4) {
        const unsigned alpha = icon->pixels[i + 3];
        if (alpha == 0) continue;
        for (std::size_t c = 0; c < 3; ++c) {
            icon->pixels[i + c] =
                static_cast<std::uint8_t>(std::min(255u, (icon->pixels[i + c] * 255u + alpha / 2) / alpha));
        }
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon->pixels.data(), icon->width, icon->height,
                                                              32, icon->width * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

// Connects SDL's video to the display; the reason when it cannot. A display server that is there may
// refuse a connection for a moment (while it starts, or starts afresh after its last client has gone), and
// SDL then does not fail: it falls back to its offscreen driver, which opens no window. The game took that
// for "no display" and ended at once; such a connection is now tried again for a few seconds.
std::string connectToDisplay() {
    constexpr int kTries = 30;
    constexpr Uint32 kWaitMs = 100;
    for (int attempt = 1;; ++attempt) {
        std::string reason;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            reason = SDL_GetError();
        } else {
            // A window nobody can see is no window: such drivers are for tests, which run headless instead.
            const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
            if (driver != "offscreen" && driver != "dummy" && driver != "evdev") {
                if (attempt > 1) logf("the display answered at attempt %d", attempt);
                return "";
            }
            reason = "only SDL's " + driver + " video driver";
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
        if (attempt == kTries) return reason;
        SDL_Delay(kWaitMs);
    }
}

Key digitKey(int digit) { return static_cast<Key>(static_cast<int>(Key::Digit0) + digit); }

Key keyFor(SDL_Keycode code) {
    switch (code) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return Key::Return;
        case SDLK_BACKSPACE:
            return Key::Backspace;
        case SDLK_ESCAPE:
            return Key::Escape;
        case SDLK_UP:
        case SDLK_w:
            return Key::Up;
        case SDLK_DOWN:
        case SDLK_s:
            return Key::Down;
        case SDLK_LEFT:
        case SDLK_a:
            return Key::Left;
        case SDLK_RIGHT:
        case SDLK_d:
            return Key::Right;
        case SDLK_p:
            return Key::P;
        case SDLK_m:
            return Key::M;
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
            return Key::Minus;
        case SDLK_PLUS:
        case SDLK_EQUALS:  // + without Shift on most layouts
        case SDLK_KP_PLUS:
            return Key::Plus;
        case SDLK_F1:
            return Key::F1;
        case SDLK_F2:
            return Key::F2;
        case SDLK_F11:
            return Key::Fullscreen;
        case SDLK_SPACE:
            return Key::Space;
        case SDLK_f:
            return Key::F;
        default:
            break;
    }
    // The number row and the keypad type the same digits.
    if (code >= SDLK_0 && code <= SDLK_9) return digitKey(code - SDLK_0);
    if (code >= SDLK_KP_1 && code <= SDLK_KP_9) return digitKey(code - SDLK_KP_1 + 1);
    if (code == SDLK_KP_0) return digitKey(0);
    return Key::Other;
}

class SdlWindow final : public Window {
  public:
    SdlWindow(SDL_Window* window, SDL_GLContext context, int scale)
        : window_(window), context_(context), scale_(scale) {
        bindFramebuffer_ =
            reinterpret_cast<PFNGLBINDFRAMEBUFFEROESPROC>(SDL_GL_GetProcAddress("glBindFramebufferOES"));
    }
    ~SdlWindow() override {
        SDL_GL_DeleteContext(context_);
        SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool makeCurrent() override { return SDL_GL_MakeCurrent(window_, context_) == 0; }
    [[nodiscard]] bool isCurrent() const override { return SDL_GL_GetCurrentContext() == context_; }
    void releaseCurrent() override { SDL_GL_MakeCurrent(window_, nullptr); }
    [[nodiscard]] void* procAddress(const char* name) const override { return SDL_GL_GetProcAddress(name); }
    [[nodiscard]] int scale() const override { return scale_; }

    bool present(unsigned texture, int width, int height, int textureWidth, int textureHeight,
                 bool changed) override {
        const auto [windowWidth, windowHeight] = drawableSize();
        // The window keeps showing the last picture until it is uncovered or resized: an unchanged frame
        // then costs neither the copy into the window nor the swap.
        const bool sameWindow = windowWidth == shownWidth_ && windowHeight == shownHeight_;
        if (!changed && sameWindow && !exposed_) return true;
        shownWidth_ = windowWidth;
        shownHeight_ = windowHeight;
        exposed_ = false;
        bindFramebuffer_(GL_FRAMEBUFFER_OES, 0);
        glViewport(0, 0, windowWidth, windowHeight);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);

        const Letterbox box = letterboxFor(windowWidth, windowHeight);
        glViewport(static_cast<GLint>(box.x),
                   static_cast<GLint>(static_cast<float>(windowHeight) - box.y - box.height),
                   static_cast<GLsizei>(box.width), static_cast<GLsizei>(box.height));
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrthof(0, kSceneWidth, 0, kSceneHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        // Shown pixel for pixel, the frame needs no filtering, which is most of the cost of showing it.
        const bool exact = box.width == static_cast<float>(height) && box.height == static_cast<float>(width);
        const GLint filter = exact ? GL_NEAREST : GL_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glColor4f(1, 1, 1, 1);

        // The portrait frame turned a quarter: scene (x, y) shows portrait pixel (y, 480 - x).
        const float s = static_cast<float>(width) / static_cast<float>(textureWidth);
        const float t = static_cast<float>(height) / static_cast<float>(textureHeight);
        const GLfloat vertices[] = {0, 0, kSceneWidth, 0, 0, kSceneHeight, kSceneWidth, kSceneHeight};
        const GLfloat coordinates[] = {0, t, 0, 0, s, t, s, 0};
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(2, GL_FLOAT, 0, vertices);
        glTexCoordPointer(2, GL_FLOAT, 0, coordinates);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisable(GL_TEXTURE_2D);
        SDL_GL_SwapWindow(window_);
        return glGetError() == GL_NO_ERROR;
    }

    void pollEvents(InputSink& sink) override {
        SDL_Event event;
        while (SDL_PollEvent(&event)) dispatch(event, sink);
    }

    void toggleFullscreen() override {
        const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
        if (full) {
            SDL_SetWindowFullscreen(window_, 0);
            SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
            SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
            return;
        }
        // Without a window manager nobody acts on the fullscreen request, so the window is also moved
        // over the whole display by hand; a window manager then makes it fullscreen as usual.
        SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
        SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
        SDL_Rect display;
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &display) == 0) {
            SDL_SetWindowPosition(window_, display.x, display.y);
            SDL_SetWindowSize(window_, display.w, display.h);
        }
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }

    void setTextInput(bool on) override {
        if (on) {
            SDL_StartTextInput();
        } else {
            SDL_StopTextInput();
        }
    }

  private:
    // The size of the surface GL really draws into. SDL's own figure follows what it asked of the
    // window system, which without a window manager is not always what happened (a fullscreen switch
    // that left the window as it was); the EGL surface says what the frame will fill.
    [[nodiscard]] std::pair<int, int> drawableSize() const {
        EGLDisplay display = eglGetCurrentDisplay();
        EGLSurface surface = eglGetCurrentSurface(EGL_DRAW);
        EGLint width = 0, height = 0;
        if (display != EGL_NO_DISPLAY && surface != EGL_NO_SURFACE &&
            eglQuerySurface(display, surface, EGL_WIDTH, &width) &&
            eglQuerySurface(display, surface, EGL_HEIGHT, &height) && width > 0 && height > 0) {
            return {width, height};
        }
        int w = 0, h = 0;
        SDL_GL_GetDrawableSize(window_, &w, &h);
        return {w, h};
    }

    void mouseTouch(InputPhase phase, int x, int y, InputSink& sink) {
        // Mouse positions are in window units, which a high-density display maps to several pixels.
        int windowWidth = 0, windowHeight = 0, pixelsWide = 0, pixelsHigh = 0;
        SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
        SDL_GL_GetDrawableSize(window_, &pixelsWide, &pixelsHigh);
        const float fx = static_cast<float>(x) * static_cast<float>(pixelsWide) /
                         static_cast<float>(std::max(1, windowWidth));
        const float fy = static_cast<float>(y) * static_cast<float>(pixelsHigh) /
                         static_cast<float>(std::max(1, windowHeight));
        const auto [drawableWidth, drawableHeight] = drawableSize();
        const auto point = windowToView(fx, fy, drawableWidth, drawableHeight);
        if (!point) {
            // A drag that leaves the picture ends there; presses outside it are not touches.
            if (phase != InputPhase::Began && mouseDown_) {
                mouseDown_ = phase == InputPhase::Moved;
                if (phase == InputPhase::Moved) return;
                sink.touch(InputPhase::Ended, 0, lastPoint_.x, lastPoint_.y);
            }
            return;
        }
        if (phase == InputPhase::Began) mouseDown_ = true;
        if (!mouseDown_) return;
        if (phase == InputPhase::Ended) mouseDown_ = false;
        lastPoint_ = *point;
        sink.touch(phase, 0, point->x, point->y);
    }

    void fingerTouch(InputPhase phase, const SDL_TouchFingerEvent& finger, InputSink& sink) {
        const auto [drawableWidth, drawableHeight] = drawableSize();
        const auto point =
            windowToView(finger.x * static_cast<float>(drawableWidth),
                         finger.y * static_cast<float>(drawableHeight), drawableWidth, drawableHeight);
        if (point) sink.touch(phase, static_cast<long>(finger.fingerId) + 1, point->x, point->y);
    }

    void dispatch(const SDL_Event& event, InputSink& sink) {
        switch (event.type) {
            case SDL_QUIT:
                sink.quitRequested();
                break;
            case SDL_APP_LOWMEMORY:
                sink.lowMemory();
                break;
            case SDL_WINDOWEVENT:
                if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) sink.focusChanged(false);
                if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) sink.focusChanged(true);
                if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                    event.window.event == SDL_WINDOWEVENT_SHOWN ||
                    event.window.event == SDL_WINDOWEVENT_RESTORED) {
                    exposed_ = true;
                }
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (event.button.button == SDL_BUTTON_LEFT && event.button.which != SDL_TOUCH_MOUSEID) {
                    mouseTouch(InputPhase::Began, event.button.x, event.button.y, sink);
                }
                break;
            case SDL_MOUSEBUTTONUP:
                if (event.button.button == SDL_BUTTON_LEFT && event.button.which != SDL_TOUCH_MOUSEID) {
                    mouseTouch(InputPhase::Ended, event.button.x, event.button.y, sink);
                }
                break;
            case SDL_MOUSEMOTION:
                if (event.motion.which != SDL_TOUCH_MOUSEID && (event.motion.state & SDL_BUTTON_LMASK)) {
                    mouseTouch(InputPhase::Moved, event.motion.x, event.motion.y, sink);
                }
                break;
            case SDL_MOUSEWHEEL:
                sink.wheel(static_cast<float>(
                    event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y));
                break;
            case SDL_FINGERDOWN:
                fingerTouch(InputPhase::Began, event.tfinger, sink);
                break;
            case SDL_FINGERMOTION:
                fingerTouch(InputPhase::Moved, event.tfinger, sink);
                break;
            case SDL_FINGERUP:
                fingerTouch(InputPhase::Ended, event.tfinger, sink);
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                const Key key = keyFor(event.key.keysym.sym);
                const bool pressed = event.type == SDL_KEYDOWN;
                if (key == Key::Fullscreen) {
                    if (pressed && !event.key.repeat) toggleFullscreen();
                } else if (!event.key.repeat || key == Key::Backspace) {
                    sink.key(key, pressed);
                }
                break;
            }
            case SDL_TEXTINPUT:
                sink.text(event.text.text);
                break;
            default:
                break;
        }
    }

    SDL_Window* window_;
    SDL_GLContext context_;
    int scale_;
    PFNGLBINDFRAMEBUFFEROESPROC bindFramebuffer_ = nullptr;
    bool mouseDown_ = false;
    SDL_Rect windowed_{0, 0, 0, 0};         // where the window was before it went fullscreen
    int shownWidth_ = 0, shownHeight_ = 0;  // the drawable size of the last presented picture
    bool exposed_ = true;
    ViewPoint lastPoint_;
};

}  // namespace

std::optional<int> digitOf(Key key) {
    const int offset = static_cast<int>(key) - static_cast<int>(Key::Digit0);
    if (offset < 0 || offset > 9) return std::nullopt;
    return offset;
}

Letterbox letterboxFor(int windowWidth, int windowHeight) {
    const float w = static_cast<float>(windowWidth);
    const float h = static_cast<float>(windowHeight);
    const float scale = std::min(w / kSceneWidth, h / kSceneHeight);
    Letterbox box;
    box.width = kSceneWidth * scale;
    box.height = kSceneHeight * scale;
    box.x = (w - box.width) / 2;
    box.y = (h - box.height) / 2;
    return box;
}

std::optional<ViewPoint> windowToView(float windowX, float windowY, int windowWidth, int windowHeight) {
    const Letterbox box = letterboxFor(windowWidth, windowHeight);
    if (box.width <= 0 || box.height <= 0) return std::nullopt;
    const float sceneX = (windowX - box.x) * kSceneWidth / box.width;
    const float sceneFromTop = (windowY - box.y) * kSceneHeight / box.height;
    if (sceneX < 0 || sceneX >= kSceneWidth || sceneFromTop < 0 || sceneFromTop >= kSceneHeight)
        return std::nullopt;
    const float sceneY = kSceneHeight - sceneFromTop;
    // Held in landscape, the phone's view reports the scene point with its axes swapped.
    return ViewPoint{sceneY, sceneX};
}

std::unique_ptr<Window> Window::open(const WindowOptions& options, std::string* error) {
    SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "1");
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
        std::getenv("SDL_VIDEODRIVER") == nullptr) {
        if (error) *error = "no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        return nullptr;
    }
    if (const std::string reason = connectToDisplay(); !reason.empty()) {
        if (error) *error = "no display to open a window on (" + reason + ")";
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    const int scale = std::max(1, options.scale);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_Window* window = SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, 480 * scale, 320 * scale, flags);
    if (window == nullptr) {
        if (error) *error = std::string("cannot open a window (") + SDL_GetError() + ")";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    SDL_SetWindowMinimumSize(window, 240, 160);
    setWindowIcon(window, options.iconFile);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        if (error) *error = std::string("no OpenGL ES 1.1 context for the window (") + SDL_GetError() + ")";
        SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    // Frames are paced by the application loop's own wait, so the swap must not wait as well.
    SDL_GL_SetSwapInterval(0);
    SDL_StopTextInput();
    auto result = std::make_unique<SdlWindow>(window, context, scale);
    if (result->procAddress("glBindFramebufferOES") == nullptr) {
        if (error) *error = "the OpenGL ES context lacks the framebuffer-object extension";
        return nullptr;
    }
    return result;
}

}  // namespace quintora::platform
