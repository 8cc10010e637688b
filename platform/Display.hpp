#pragma once
// A GL ES 1.1 context and the screen that shows its frames: a desktop window, or nothing at all when the
// game runs headless. The engine draws each frame into a portrait framebuffer of its own and hands the
// finished colour texture to present(), which shows it turned into the landscape screen.
#include <memory>

namespace quintora::platform {

class Display {
  public:
    virtual ~Display() = default;

    virtual bool makeCurrent() = 0;
    [[nodiscard]] virtual bool isCurrent() const = 0;
    virtual void releaseCurrent() = 0;
    // The address of a GL extension function, such as the framebuffer-object ones.
    [[nodiscard]] virtual void* procAddress(const char* name) const = 0;

    // Pixels per point of the portrait view.
    [[nodiscard]] virtual int scale() const = 0;

    // Shows a finished portrait frame: `texture` holds it in its lower-left width x height pixels and is
    // textureWidth x textureHeight in all; `changed` is false when it holds the picture presented last
    // time, which needs showing again only if the screen lost it. Returns false when the screen could not
    // be updated.
    virtual bool present(unsigned texture, int width, int height, int textureWidth, int textureHeight,
                         bool changed) = 0;

    // What the window lets through to the view it carries.
    bool userInteractionEnabled = true;
    bool multipleTouchEnabled = false;
};

// A display without any window, for automation and tests: an EGL context on no surface. Logs and
// returns null when no GL ES 1.1 context can be made.
[[nodiscard]] std::unique_ptr<Display> openHeadlessDisplay(int scale);
// For a process that only re-plays and draws nothing (and may not write a byte): the GL driver started
// afterwards keeps no cache on disk and starts no worker threads.
void keepGraphicsInProcess();

}  // namespace quintora::platform
