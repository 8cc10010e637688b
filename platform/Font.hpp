#pragma once
// Text in named fonts: measuring a string and drawing it into an alpha-only bitmap for a label texture.
//
// Fonts are files in the resources' fonts/ folder; fonts/fonts.txt maps the names the game asks for to
// files, one "Name = File.ttf" a line, and names the font used for everything else with
// "fallback = File.ttf". One point is one pixel. Main thread only.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quintora::platform {

enum class TextAlignment { Left = 0, Center = 1, Right = 2 };

struct TextSize {
    float width = 0;
    float height = 0;
};

// The size the text takes unwrapped: the width of its widest line and the height of its lines (one font
// line for text without line breaks). The empty string is 0 wide and one line high.
[[nodiscard]] TextSize measureText(std::string_view utf8, const std::string& fontName, float pointSize);

// Draws the text into a zero-cleared bitmap of bitmapWidth x bitmapHeight bytes (one byte per pixel, rows
// from top to bottom, the byte being the glyph coverage) inside the box (0, 0, box.width, box.height) at
// the top-left: word-wrapped to the box width, each line aligned within the box width, lines below the
// box cut off. Nothing is drawn outside the box or the bitmap. Text drawn into a box of the size that
// measureText gives stays on one line. An empty vector when either bitmap side is not positive.
[[nodiscard]] std::vector<std::uint8_t> renderText(std::string_view utf8, const std::string& fontName,
                                                   float pointSize, int bitmapWidth, int bitmapHeight,
                                                   TextSize box, TextAlignment alignment);

}  // namespace quintora::platform
