#include "platform/Font.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Resources.hpp"
#include "support/Files.hpp"

namespace quintora::platform {
namespace {

namespace fs = std::filesystem;

// Two fonts of one family that differ in coverage: the monospaced face has no U+2169 (Roman numeral
// ten), the proportional one has it, so they stand in for a marker font and its fallback.
const char* const marker = "Marker Felt";
const char* const fallback = "fallback";

class Fonts : public ::testing::Test {
  public:
    static void SetUpTestSuite() {
        const fs::path dejavu = "/usr/share/fonts/truetype/dejavu";
        fs::create_directories(resources_ / "fonts");
        fs::create_symlink(dejavu / "DejaVuSansMono.ttf", resources_ / "fonts" / "Marker.ttf");
        fs::create_symlink(dejavu / "DejaVuSans.ttf", resources_ / "fonts" / "Sans.ttf");
        std::ofstream(resources_ / "fonts" / "fonts.txt")
            << "# name = file in this folder\nMarker Felt = Marker.ttf\nGone = NotThere.ttf\nfallback = "
               "Sans.ttf\n";
        setResourceDirectory(resources_.string());
    }
    static void TearDownTestSuite() { fs::remove_all(resources_); }

    static inline const fs::path resources_ =
        fs::temp_directory_path() / ("quintora-fonts-" + std::to_string(::getpid()));
};

// The inked columns [minX, maxX] within rows [fromRow, toRow) of a coverage bitmap; minX is -1 for none.
struct Ink {
    int minX = -1, maxX = -1;
};
Ink inkOf(const std::vector<std::uint8_t>& bitmap, int width, int fromRow = 0, int toRow = 1 << 20) {
    Ink ink;
    const int height = static_cast<int>(bitmap.size()) / width;
    for (int y = fromRow; y < std::min(toRow, height); ++y) {
        for (int x = 0; x < width; ++x) {
            if (bitmap[static_cast<std::size_t>(y * width + x)] == 0) continue;
            ink.minX = ink.minX < 0 ? x : std::min(ink.minX, x);
            ink.maxX = std::max(ink.maxX, x);
        }
    }
    return ink;
}

TEST_F(Fonts, LongTextWrapsAtSpacesAndIsCutBelowTheBox) {
    const char* text = "one two three four";
    const TextSize line = measureText("x", marker, 20);
    const int h = static_cast<int>(line.height);
    const float narrow = measureText("one two", marker, 20).width + 1;
    const struct {
        const char* text;
        TextSize box;
        int lines;
    } cases[] = {{text, {measureText(text, marker, 20).width, 4 * line.height}, 1},
                 {text, {narrow, 4 * line.height}, 3},  // "three four" is wider than "one two" here
                 {text, {narrow, line.height}, 1},
                 {"onetwothree", {measureText("on", marker, 20).width + 1, 8 * line.height}, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.text << " in " << c.box.width << " x " << c.box.height);
        const auto bitmap = renderText(c.text, marker, 20, 256, 256, c.box, TextAlignment::Left);
        EXPECT_GE(inkOf(bitmap, 256, (c.lines - 1) * h, c.lines * h).minX, 0) << "last line";
        EXPECT_LT(inkOf(bitmap, 256, c.lines * h).minX, 0) << "nothing below";
        EXPECT_LT(inkOf(bitmap, 256).maxX, static_cast<int>(std::ceil(c.box.width)))
            << "nothing right of the box";
    }
}

TEST_F(Fonts, UnknownOrMissingFontsFallBackWithOneLogLinePerName) {
    testing::CapturedLog log;
    const float expected = measureText("Hello", fallback, 18).width;
    EXPECT_NE(measureText("Hello", marker, 18).width, expected)
        << "the stand-ins must differ to prove anything";
    for (const char* name : {"No Such Font", "No Such Font", "Gone"})
        EXPECT_EQ(measureText("Hello", name, 18).width, expected);
    EXPECT_GE(inkOf(renderText("Hello", "Gone", 18, 64, 32, {64, 32}, TextAlignment::Left), 64).minX, 0);
    const std::vector<std::string> lines = log.messages();
    ASSERT_EQ(lines.size(), 2u) << log.text();
    EXPECT_NE(lines[0].find("No Such Font"), std::string::npos);
    EXPECT_NE(lines[1].find("Gone"), std::string::npos);
}

TEST_F(Fonts, TextWithAGlyphTheFontLacksIsDrawnInTheFallbackFont) {
    const std::string times = "5\u21693";  // \u takes four digits exactly
    EXPECT_EQ(measureText(times, marker, 24).width, measureText(times, fallback, 24).width);
    const TextSize box = measureText("\u2169", marker, 24);
    const Ink ink = inkOf(renderText("\u2169", marker, 24, 64, 64, box, TextAlignment::Center), 64);
    EXPECT_GT(ink.maxX - ink.minX, 5) << "a real glyph, not a blank or a sliver";
}

}  // namespace
}  // namespace quintora::platform
