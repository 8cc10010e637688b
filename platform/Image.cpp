#include "platform/Image.hpp"

#include <png.h>

#include <cstring>

namespace quintora::platform {
namespace {

// The simplified png_image interface keeps libpng's setjmp/longjmp error handling inside libpng, so a
// corrupt file can never unwind through our frames; it reports failure as a zero return instead.
struct PngReader {
    png_image image;

    PngReader() {
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
    }
    ~PngReader() { png_image_free(&image); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
};

bool acceptableSize(std::uint32_t width, std::uint32_t height) {
    if (width == 0 || height == 0) return false;
    if (width > static_cast<std::uint32_t>(maxImageSide) ||
        height > static_cast<std::uint32_t>(maxImageSide)) {
        return false;
    }
    return static_cast<std::int64_t>(width) * static_cast<std::int64_t>(height) <= maxImagePixels;
}

// Rounded division by 255, exact for every product of two bytes.
std::uint8_t premultiply(std::uint8_t colour, std::uint8_t alpha) {
    const unsigned product = static_cast<unsigned>(colour) * alpha + 128u;
    return static_cast<std::uint8_t>((product + (product >> 8)) >> 8);
}

}  // namespace

std::optional<Bitmap> decodePng(const std::string& path) {
    PngReader reader;
    // Reads the signature and the header chunks only; nothing the size of the image is allocated yet.
    if (!png_image_begin_read_from_file(&reader.image, path.c_str())) return std::nullopt;
    if (!acceptableSize(reader.image.width, reader.image.height)) return std::nullopt;

    reader.image.format = PNG_FORMAT_RGBA;
    Bitmap bitmap;
    bitmap.width = static_cast<int>(reader.image.width);
    bitmap.height = static_cast<int>(reader.image.height);
    // Computed here rather than with libpng's size macro, whose 32-bit arithmetic could wrap.
    bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height) *
                         4);
    if (!png_image_finish_read(&reader.image, nullptr, bitmap.pixels.data(), 0, nullptr)) return std::nullopt;

    for (std::size_t i = 0; i + 3 < bitmap.pixels.size(); i += 4) {
        const std::uint8_t alpha = bitmap.pixels[i + 3];
        if (alpha == 255) continue;
        bitmap.pixels[i] = premultiply(bitmap.pixels[i], alpha);
        bitmap.pixels[i + 1] = premultiply(bitmap.pixels[i + 1], alpha);
        bitmap.pixels[i + 2] = premultiply(bitmap.pixels[i + 2], alpha);
    }
    return bitmap;
}

bool writePng(const std::string& path, const Bitmap& straightRgba) {
    if (straightRgba.width <= 0 || straightRgba.height <= 0) return false;
    const auto expected =
        static_cast<std::size_t>(straightRgba.width) * static_cast<std::size_t>(straightRgba.height) * 4;
    if (straightRgba.pixels.size() != expected) return false;

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(straightRgba.width);
    image.height = static_cast<png_uint_32>(straightRgba.height);
    image.format = PNG_FORMAT_RGBA;
    // On a failure after opening, libpng closes and removes the partial file itself.
    const int written =
        png_image_write_to_file(&image, path.c_str(), 0, straightRgba.pixels.data(), 0, nullptr);
    png_image_free(&image);
    return written != 0;
}

}  // namespace quintora::platform
