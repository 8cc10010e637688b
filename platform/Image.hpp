#pragma once
// Image files in and out: PNG decoding for textures and PNG writing for screenshots.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quintora::platform {

// Four bytes per pixel in R, G, B, A order, rows from top to bottom, no padding between rows:
// pixels.size() == width * height * 4.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Images wider or taller than this, or with more pixels in all, are refused before any pixel memory is
// allocated: nothing the game ships comes close, so such a header means a damaged or hostile file.
inline constexpr int maxImageSide = 8192;
inline constexpr std::int64_t maxImagePixels = 32LL * 1024 * 1024;

// Decodes any PNG (every colour type, bit depth, palette and interlacing) into RGBA8 with the colour
// premultiplied by alpha, ready for blending with (one, one minus source alpha) style textures.
// A missing, unreadable, truncated, corrupt or oversized file yields nothing; this never logs, so the
// caller decides what to report.
[[nodiscard]] std::optional<Bitmap> decodePng(const std::string& path);

// Writes a bitmap with straight (not premultiplied) alpha as an RGBA PNG. False when the bitmap is
// malformed (no pixels, or a pixel count that does not match its size) or the file cannot be written.
[[nodiscard]] bool writePng(const std::string& path, const Bitmap& straightRgba);

}  // namespace quintora::platform
