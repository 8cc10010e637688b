#pragma once
// The GL surface the director draws into: a portrait framebuffer object of the view's size, made with
// the framebuffer-object extension, whose colour texture the display shows at the end of each frame.
#include <cstdint>

#include "engine/Geometry.hpp"
#include "engine/Object.hpp"
#include "engine/Touch.hpp"
#include "platform/Image.hpp"

namespace quintora {

namespace platform {
class Display;
}
class Director;

enum class ColorFormat { RGB565, RGBA8 };

// Told when the surface was rebuilt; the game sets none.
class EAGLViewDelegate {
  public:
    virtual ~EAGLViewDelegate() = default;
    virtual void didResizeEAGLSurface() = 0;
};

class EAGLView : public Object {
  public:
    // The depth formats the view accepts: none, 16-bit and 24-bit.
    static constexpr unsigned kDepthNone = 0;
    static constexpr unsigned kDepth16 = 0x81A5;  // GL_DEPTH_COMPONENT16_OES
    static constexpr unsigned kDepth24 = 0x81A6;  // GL_DEPTH_COMPONENT24_OES

    // Null when no context or surface could be made.
    static Ref<EAGLView> initWithFrame(platform::Display& display, Rect frame, ColorFormat format,
                                       unsigned depthFormat, bool preserveBackbuffer);
    static Ref<EAGLView> initWithFrame(platform::Display& display, Rect frame, ColorFormat format) {
        return initWithFrame(display, frame, format, kDepthNone, false);
    }
    static Ref<EAGLView> initWithFrame(platform::Display& display, Rect frame) {
        return initWithFrame(display, frame, ColorFormat::RGB565);
    }
    ~EAGLView() override;

    // Presents the finished frame; `changed` false when it is the picture presented last time.
    bool swapBuffers(bool changed = true);

    [[nodiscard]] Rect frame() const { return frame_; }
    void setFrame(Rect frame);
    void setAutoresizesEAGLSurface(bool autoresize);
    // Rebuilds the surface when the rounded size changed, as a platform view does on a size change.
    void layoutSubviews();

    bool setCurrentContext();
    [[nodiscard]] bool isCurrentContext() const;
    void clearCurrentContext();
    // Binds the view's framebuffer for drawing.
    void bindFramebuffer();

    [[nodiscard]] Size surfaceSize() const { return size_; }
    [[nodiscard]] ColorFormat pixelFormat() const { return format_; }
    [[nodiscard]] unsigned depthFormat() const { return depthFormat_; }
    [[nodiscard]] unsigned framebuffer() const { return framebuffer_; }
    [[nodiscard]] int rebuildCount() const { return rebuilds_; }
    [[nodiscard]] float contentScale() const { return static_cast<float>(scale_); }
    [[nodiscard]] platform::Display& display() const { return display_; }

    // The last drawn frame as the player sees it: landscape, straight alpha, rows top to bottom.
    [[nodiscard]] platform::Bitmap snapshotLandscape();

    // The window holding the view; none once detached.
    [[nodiscard]] platform::Display* superview() const { return superview_; }
    void setSuperview(platform::Display* superview) { superview_ = superview; }
    bool userInteractionEnabled = true;
    bool multipleTouchEnabled = false;

    // Touches reach the touch delegate (the director) when the view takes user interaction.
    void setTouchDelegate(Director* delegate) { touchDelegate_ = delegate; }
    void setDelegate(EAGLViewDelegate* delegate) { delegate_ = delegate; }
    void touches(TouchPhase phase, const TouchSet& touches, const TouchEvent& event);

  private:
    EAGLView(platform::Display& display, Rect frame, ColorFormat format, unsigned depthFormat);
    bool createSurface();
    void destroySurface();

    platform::Display& display_;
    platform::Display* superview_ = nullptr;
    Rect frame_;
    int scale_;
    ColorFormat format_;
    unsigned depthFormat_;
    bool autoresize_ = false;
    unsigned framebuffer_ = 0;
    unsigned colorTexture_ = 0;  // the colour attachment, a texture so that the display can show it
    unsigned depthBuffer_ = 0;
    Size size_;         // pixels
    Size textureSize_;  // the colour texture, a power of two on each side
    bool hasBeenCurrent_ = false;
    int rebuilds_ = 0;
    EAGLViewDelegate* delegate_ = nullptr;
    Director* touchDelegate_ = nullptr;
};

}  // namespace quintora
