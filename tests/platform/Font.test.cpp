#include "platform/Font.hpp"
#include "support/Files.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Log.hpp"
#include "platform/Resources.hpp"

namespace quintora::platform {
namespace {

namespace fs = std::filesystem;

// Two fonts of one family that differ in coverage: the monospaced face has no U+2169 (Roman numeral
// ten), the proportional one has it, so they stand in for a marker font and its fallback.
const fs::path systemFonts = "/usr/share/fonts/truetype/dejavu";
const char* const marker = "Marker Felt";
const char* const fallback = "fallback";

class Fonts : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "quintora-fonts-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        resources_ = pattern;
        fs::create_directories(resources_ / "fonts");
        fs::create_symlink(systemFonts / "DejaVuSansMono.ttf", resources_ / "fonts" / "Marker.ttf");
        fs::create_symlink(systemFonts / "DejaVuSans.ttf", resources_ / "fonts" / "Sans.ttf");
        std::ofstream table(resources_ / "fonts" / "fonts.txt");
        table << "# name = file in this folder\n"
                 "Marker Felt = Marker.ttf\n"
                 "Gone = NotThere.ttf\n"
                 "fallback = Sans.ttf\n";
        table.close();
        setResourceDirectory(resources_.string());
    }
    static void TearDownTestSuite() { fs::remove_all(resources_); }

    static fs::path resources_;
};

fs::path Fonts::resources_;

struct Ink {
    int minX = -1;
    int maxX = -1;
    int minY = -1;
    int maxY = -1;
    bool any() const { return minX >= 0; }
};

Ink inkOf(const std::vector<std::uint8_t>& bitmap, int width, int height, int fromRow = 0, int toRow = -1) {
    Ink ink;
    if (toRow < 0) toRow = height;
    for (int y = fromRow; y < toRow; ++y) {
        for (int x = 0; x < width; ++x) {
            if (bitmap[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] == 0) continue;
            if (!ink.any()) ink = {x, x, y, y};
            ink.minX = std::min(ink.minX, x);
            ink.maxX = std::max(ink.maxX, x);
            ink.minY = std::min(ink.minY, y);
            ink.maxY = std::max(ink.maxY, y);
        }
    }
    return ink;
}

using testing::readFile;

int countOccurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST_F(Fonts, MeasuringGrowsWithTextAndSize) {
    const TextSize one = measureText("1", marker, 24);
    const TextSize hundred = measureText("100", marker, 24);
    const TextSize thousand = measureText("1000", marker, 24);
    EXPECT_GT(one.width, 0);
    EXPECT_GT(hundred.width, one.width);
    EXPECT_GT(thousand.width, hundred.width);
    EXPECT_GT(one.height, 0);
    EXPECT_EQ(one.height, thousand.height);

    const TextSize larger = measureText("100", marker, 48);
    EXPECT_GT(larger.width, hundred.width);
    EXPECT_GT(larger.height, hundred.height);

    const TextSize empty = measureText("", marker, 24);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, one.height);

    // Explicit line breaks: as wide as the widest line, one more line high.
    const TextSize twoLines = measureText("1\n1000", marker, 24);
    EXPECT_EQ(twoLines.width, thousand.width);
    EXPECT_GT(twoLines.height, one.height);
}

TEST_F(Fonts, RenderedTextStaysInsideItsBoxAndBitmap) {
    const TextSize box = measureText("Score 1234", marker, 20);
    ASSERT_GT(box.width, 0);
    const int width = 256;
    const int height = 64;
    ASSERT_LT(box.width, width);
    ASSERT_LT(box.height, height);

    const auto bitmap = renderText("Score 1234", marker, 20, width, height, box, TextAlignment::Left);
    ASSERT_EQ(bitmap.size(), static_cast<std::size_t>(width * height));
    const Ink ink = inkOf(bitmap, width, height);
    ASSERT_TRUE(ink.any());
    EXPECT_LT(ink.maxX, static_cast<int>(std::ceil(box.width)));
    EXPECT_LT(ink.maxY, static_cast<int>(std::ceil(box.height)));
    EXPECT_LT(ink.minX, 4);

    // A bitmap smaller than the box gets exactly its own size, clipped.
    const auto small = renderText("Score 1234", marker, 20, 16, 8, box, TextAlignment::Right);
    EXPECT_EQ(small.size(), 16u * 8u);

    EXPECT_TRUE(renderText("Score", marker, 20, 0, 8, box, TextAlignment::Left).empty());
    const auto emptyText = renderText("", marker, 20, 32, 32, {32, 32}, TextAlignment::Center);
    ASSERT_EQ(emptyText.size(), 32u * 32u);
    EXPECT_FALSE(inkOf(emptyText, 32, 32).any());
}

TEST_F(Fonts, AlignmentPlacesEachLineWithinTheBoxWidth) {
    const int width = 256;
    const int height = 32;
    const TextSize box{200, 30};
    const auto centred = renderText("HOH", marker, 20, width, height, box, TextAlignment::Center);
    const Ink middle = inkOf(centred, width, height);
    ASSERT_TRUE(middle.any());
    EXPECT_NEAR((middle.minX + middle.maxX + 1) / 2.0, 100.0, 2.0);

    const Ink left = inkOf(renderText("HOH", marker, 20, width, height, box, TextAlignment::Left), width, height);
    const Ink right = inkOf(renderText("HOH", marker, 20, width, height, box, TextAlignment::Right), width, height);
    ASSERT_TRUE(left.any());
    ASSERT_TRUE(right.any());
    EXPECT_LT(left.minX, 6);
    EXPECT_GT(right.maxX, 193);
    EXPECT_LE(right.maxX, 199);
    // The same glyphs, only moved.
    EXPECT_EQ(left.maxX - left.minX, middle.maxX - middle.minX);
    EXPECT_EQ(right.maxX - right.minX, middle.maxX - middle.minX);
}

TEST_F(Fonts, LongTextWrapsAtSpacesAndIsCutBelowTheBox) {
    const char* text = "one two three four";
    const TextSize line = measureText("x", marker, 20);
    const int lineHeight = static_cast<int>(line.height);
    const int width = 256;
    const int height = 256;

    // In a box of exactly its measured size the text keeps to one line, even with room below.
    const TextSize measured = measureText(text, marker, 20);
    ASSERT_LT(measured.width, width);
    const auto oneLine = renderText(text, marker, 20, width, height, {measured.width, 4.0f * line.height}, TextAlignment::Left);
    EXPECT_TRUE(inkOf(oneLine, width, height, 0, lineHeight).any());
    EXPECT_FALSE(inkOf(oneLine, width, height, lineHeight, height).any());

    const float narrow = measureText("one two", marker, 20).width + 1;
    const auto wrapped = renderText(text, marker, 20, width, height, {narrow, 4.0f * line.height}, TextAlignment::Left);
    const Ink first = inkOf(wrapped, width, height, 0, lineHeight);
    const Ink second = inkOf(wrapped, width, height, lineHeight, 2 * lineHeight);
    ASSERT_TRUE(first.any());
    ASSERT_TRUE(second.any());
    EXPECT_LT(std::max(first.maxX, second.maxX), static_cast<int>(std::ceil(narrow)));
    // In this monospaced face "three four" is wider than "one two", so it takes two more lines.
    EXPECT_TRUE(inkOf(wrapped, width, height, 2 * lineHeight, 3 * lineHeight).any());
    EXPECT_FALSE(inkOf(wrapped, width, height, 3 * lineHeight, height).any());

    // A box one line high shows the first line only.
    const auto cut = renderText(text, marker, 20, width, height, {narrow, line.height}, TextAlignment::Left);
    EXPECT_TRUE(inkOf(cut, width, height, 0, lineHeight).any());
    EXPECT_FALSE(inkOf(cut, width, height, lineHeight, height).any());

    // A word wider than the box is broken inside rather than drawn past the edge.
    const float tiny = measureText("on", marker, 20).width + 1;
    const auto broken = renderText("onetwothree", marker, 20, width, height, {tiny, 8.0f * line.height}, TextAlignment::Left);
    EXPECT_LT(inkOf(broken, width, height).maxX, static_cast<int>(std::ceil(tiny)));
    EXPECT_TRUE(inkOf(broken, width, height, 2 * lineHeight, 3 * lineHeight).any());
}

TEST_F(Fonts, UnknownOrMissingFontsFallBackWithOneLogLinePerName) {
    const fs::path logFile = resources_ / "font.log";
    ASSERT_TRUE(openLog(logFile.string()));
    const TextSize unknown = measureText("Hello", "No Such Font", 18);
    const TextSize again = measureText("Hello", "No Such Font", 18);
    const TextSize missing = measureText("Hello", "Gone", 18);
    const auto drawn = renderText("Hello", "Gone", 18, 64, 32, missing, TextAlignment::Left);
    closeLog();

    const TextSize expected = measureText("Hello", fallback, 18);
    EXPECT_GT(expected.width, 0);
    EXPECT_EQ(unknown.width, expected.width);
    EXPECT_EQ(unknown.height, expected.height);
    EXPECT_EQ(again.width, expected.width);
    EXPECT_EQ(missing.width, expected.width);
    EXPECT_TRUE(inkOf(drawn, 64, 32).any());
    // The bundled stand-in really is another font, or the comparisons above would prove nothing.
    EXPECT_NE(measureText("Hello", marker, 18).width, expected.width);

    const std::string log = readFile(logFile);
    EXPECT_EQ(countOccurrences(log, "No Such Font"), 1) << log;
    EXPECT_EQ(countOccurrences(log, "Gone"), 1) << log;
    EXPECT_EQ(countOccurrences(log, "\n"), 2) << log;
}

TEST_F(Fonts, TextWithAGlyphTheFontLacksIsDrawnInTheFallbackFont) {
    const std::string times = "5\u2169" "3";
    EXPECT_EQ(measureText(times, marker, 24).width, measureText(times, fallback, 24).width);
    EXPECT_NE(measureText("53", marker, 24).width, measureText("53", fallback, 24).width);

    const TextSize box = measureText("\u2169", marker, 24);
    ASSERT_GT(box.width, 0);
    const auto bitmap = renderText("\u2169", marker, 24, 64, 64, box, TextAlignment::Center);
    const Ink ink = inkOf(bitmap, 64, 64);
    ASSERT_TRUE(ink.any());
    // A real glyph of some size, not a blank or a sliver.
    EXPECT_GT(ink.maxX - ink.minX, 5);
    EXPECT_GT(ink.maxY - ink.minY, 5);
}

}  // namespace
}  // namespace quintora::platform
