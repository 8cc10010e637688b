#include "online/TextEncoding.hpp"

#include <gtest/gtest.h>

#include "TestBytes.hpp"

namespace quintora {
namespace {

using test::bytesOf;
using test::encodeUnits;

std::string asString(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(TextEncoding, DetectionFollowsTheZeroBytesOfTheFirstFour) {
    const std::uint8_t utf32be[] = {0, 0, 0, '{'}, utf16be[] = {0, '{', 0, '}'}, utf32le[] = {'{', 0, 0, 0},
                       utf16le[] = {'{', 0, '}', 0}, utf8[] = {'{', '}', ' ', ' '}, other[] = {0, 0, '{', 0},
                       short3[] = {0, 0, 0};
    EXPECT_EQ(detectJSONEncoding(utf32be), TextEncoding::UTF32BigEndian);
    EXPECT_EQ(detectJSONEncoding(utf16be), TextEncoding::UTF16BigEndian);
    EXPECT_EQ(detectJSONEncoding(utf32le), TextEncoding::UTF32LittleEndian);
    EXPECT_EQ(detectJSONEncoding(utf16le), TextEncoding::UTF16LittleEndian);
    EXPECT_EQ(detectJSONEncoding(utf8), TextEncoding::UTF8);
    EXPECT_EQ(detectJSONEncoding(other), TextEncoding::UTF8);
    EXPECT_EQ(detectJSONEncoding(short3), TextEncoding::UTF8);
    EXPECT_EQ(detectJSONEncoding({}), TextEncoding::UTF8);
}

TEST(TextEncoding, ConvertsEachEncodingToUTF8) {
    const std::u32string text = U"{\"\u00e9\u4e2d\U0001F600\"}";
    const std::string expected = "{\"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\"}";
    EXPECT_EQ(asString(convertToUTF8(encodeUnits(text, 2, true), TextEncoding::UTF16BigEndian)), expected);
    EXPECT_EQ(asString(convertToUTF8(encodeUnits(text, 2, false), TextEncoding::UTF16LittleEndian)),
              expected);
    EXPECT_EQ(asString(convertToUTF8(encodeUnits(text, 4, true), TextEncoding::UTF32BigEndian)), expected);
    EXPECT_EQ(asString(convertToUTF8(encodeUnits(text, 4, false), TextEncoding::UTF32LittleEndian)),
              expected);
    EXPECT_EQ(asString(convertToUTF8(bytesOf(expected), TextEncoding::UTF8)), expected);
}

TEST(TextEncoding, UnitsThatNameNoCharacterBecomeReplacements) {
    const std::uint8_t loneHigh[] = {0xD8, 0x3D, 0, 'a'};
    EXPECT_EQ(asString(convertToUTF8(loneHigh, TextEncoding::UTF16BigEndian)), kReplacement + "a");
    const std::uint8_t loneLow[] = {0, 'a', 0xDC, 0x00};
    EXPECT_EQ(asString(convertToUTF8(loneLow, TextEncoding::UTF16BigEndian)), "a" + kReplacement);
    const std::uint8_t oddLength[] = {0, 'a', 0};
    EXPECT_EQ(asString(convertToUTF8(oddLength, TextEncoding::UTF16BigEndian)), "a" + kReplacement);
    const std::uint8_t tooLarge[] = {0, 0x11, 0, 0, 0, 0, 0, 'b', 0, 0};
    EXPECT_EQ(asString(convertToUTF8(tooLarge, TextEncoding::UTF32BigEndian)),
              kReplacement + "b" + kReplacement);
    const std::uint8_t surrogate32[] = {0x00, 0xD8, 0, 0};
    EXPECT_EQ(asString(convertToUTF8(surrogate32, TextEncoding::UTF32LittleEndian)), kReplacement);
}

TEST(TextEncoding, AppendValidUTF8ReplacesEachMaximalIllFormedPart) {
    const auto valid = [](std::string_view bytes) {
        std::string out;
        appendValidUTF8(out, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        return out;
    };
    EXPECT_EQ(valid("plain"), "plain");
    EXPECT_EQ(valid("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(valid("\xF0\x9F\x98"), kReplacement);
    EXPECT_EQ(valid("\xF0\x9F\x98"
                    "a"),
              kReplacement + "a");
    EXPECT_EQ(valid("\x80\x80"), kReplacement + kReplacement);
    EXPECT_EQ(valid("\xF5\x80"), kReplacement + kReplacement);
    EXPECT_EQ(valid("\xE0\x80\x80"), kReplacement + kReplacement + kReplacement);
    EXPECT_EQ(valid("\xF4\x90\x80\x80"), kReplacement + kReplacement + kReplacement + kReplacement);
    EXPECT_EQ(valid("a\xC2"), "a" + kReplacement);
    EXPECT_EQ(valid(""), "");
}

TEST(TextEncoding, AppendCodePoint) {
    std::string out;
    appendCodePoint(out, U'A');
    appendCodePoint(out, 0x7FF);
    appendCodePoint(out, 0xFFFF);
    appendCodePoint(out, 0x10FFFF);
    EXPECT_EQ(out, "A\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF");
    out.clear();
    appendCodePoint(out, 0xD800);
    appendCodePoint(out, 0x110000);
    EXPECT_EQ(out, kReplacement + kReplacement);
}

}  // namespace
}  // namespace quintora
