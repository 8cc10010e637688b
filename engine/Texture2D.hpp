#pragma once
// A GL texture holding an image or a rendered string. Sizes are powers of two; the image sits in the
// top-left corner with the padding to its right and below, and contentSize says how much of the texture
// it covers.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/Geometry.hpp"
#include "engine/Object.hpp"
#include "platform/Font.hpp"
#include "platform/Image.hpp"

namespace quintora {

enum class Texture2DPixelFormat { Automatic = 0, RGBA8888 = 1, RGB565 = 2, A8 = 3 };
using TextAlignment = platform::TextAlignment;

class Texture2D : public Object {
  public:
    // From a decoded image; logs "Image is Null" and yields null when there is none.
    static Ref<Texture2D> initWithImage(const platform::Bitmap* image);
    // As initWithImage, with the pixel format chosen by the caller instead of by the image.
    static Ref<Texture2D> initWithImage(const platform::Bitmap& image, Texture2DPixelFormat format);
    // A string fitted to its one-line size, centred.
    static Ref<Texture2D> initWithString(std::string_view text, const std::string& fontName, float fontSize);
    // A string word-wrapped into a box.
    static Ref<Texture2D> initWithString(std::string_view text, Size dimensions, TextAlignment alignment,
                                         const std::string& fontName, float fontSize);
    static Ref<Texture2D> initWithData(const void* data, Texture2DPixelFormat format, unsigned pixelsWide,
                                       unsigned pixelsHigh, Size contentSize);
    ~Texture2D() override;

    // Queued in the sprite batch with the current model-view matrix, tint and blending.
    void drawAtPoint(Point point);
    void drawInRect(Rect rect);

    [[nodiscard]] unsigned name() const { return name_; }
    [[nodiscard]] Size contentSize() const { return size_; }
    [[nodiscard]] unsigned pixelsWide() const { return width_; }
    [[nodiscard]] unsigned pixelsHigh() const { return height_; }
    [[nodiscard]] Texture2DPixelFormat pixelFormat() const { return format_; }
    [[nodiscard]] float maxS() const { return maxS_; }
    [[nodiscard]] float maxT() const { return maxT_; }
    // Every pixel of the image is fully opaque, so drawing it unfaded needs no blending.
    [[nodiscard]] bool isOpaque() const { return opaque_; }
    // Unique to this texture for the life of the process, unlike GL names, which are reused: two frames
    // that show the same serials show the same pixels.
    [[nodiscard]] std::uint64_t serial() const { return serial_; }

    // The side a texture gets for an image side: unchanged when 1 or a power of two, else the next
    // power of two above.
    [[nodiscard]] static unsigned powerOfTwoFor(unsigned side);
    // Packs RGBA8 pixels into 16-bit RGB565.
    static void packRGB565(const std::uint8_t* rgba, std::size_t pixels, std::uint16_t* out);

  private:
    Texture2D() = default;

    unsigned name_ = 0;
    Size size_;
    unsigned width_ = 0;
    unsigned height_ = 0;
    Texture2DPixelFormat format_ = Texture2DPixelFormat::RGBA8888;
    float maxS_ = 0;
    float maxT_ = 0;
    bool opaque_ = false;
    std::uint64_t serial_ = 0;
};

}  // namespace quintora
