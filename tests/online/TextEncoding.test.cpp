#include "online/TextEncoding.hpp"

#include <gtest/gtest.h>

#include "TestBytes.hpp"

namespace quintora {
namespace {

using test::bytesOf;
using test::encodeUnits;

std::string asString(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(TextEncoding, DetectionFollowsTheZeroBytesOfTheFirstFourAndEachEncodingBecomesUTF8) {
    const std::u32string text = U"{\"\u00e9\u4e2d\U0001F600\"}";
    const std::string expected = "{\"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\"}";
    const struct {
        int width;
        bool bigEndian;
        TextEncoding encoding;
    } cases[] = {{2, true, TextEncoding::UTF16BigEndian}, {2, false, TextEncoding::UTF16LittleEndian},
                 {4, true, TextEncoding::UTF32BigEndian}, {4, false, TextEncoding::UTF32LittleEndian}};
    for (const auto& c : cases) {
        const auto bytes = encodeUnits(text, c.width, c.bigEndian);
        EXPECT_EQ(detectJSONEncoding(bytes), c.encoding);
        EXPECT_EQ(asString(convertToUTF8(bytes, c.encoding)), expected);
    }
    const std::uint8_t other[] = {0, 0, '{', 0}, short3[] = {0, 0, 0};
    using Bytes = std::span<const std::uint8_t>;
    for (const Bytes bytes : {bytesOf(expected), Bytes(other), Bytes(short3), Bytes()}) {
        EXPECT_EQ(detectJSONEncoding(bytes), TextEncoding::UTF8);
    }
}

TEST(TextEncoding, WhatNamesNoCharacterBecomesAReplacement) {
    const std::uint8_t loneHigh[] = {0xD8, 0x3D, 0, 'a'}, loneLow[] = {0, 'a', 0xDC, 0x00}, odd[] = {0, 'a', 0},
                       tooLarge[] = {0, 0x11, 0, 0, 0, 0, 0, 'b', 0, 0}, surrogate32[] = {0x00, 0xD8, 0, 0};
    EXPECT_EQ(asString(convertToUTF8(loneHigh, TextEncoding::UTF16BigEndian)), kReplacement + "a");
    EXPECT_EQ(asString(convertToUTF8(loneLow, TextEncoding::UTF16BigEndian)), "a" + kReplacement);
    EXPECT_EQ(asString(convertToUTF8(odd, TextEncoding::UTF16BigEndian)), "a" + kReplacement);
    EXPECT_EQ(asString(convertToUTF8(tooLarge, TextEncoding::UTF32BigEndian)), kReplacement + "b" + kReplacement);
    EXPECT_EQ(asString(convertToUTF8(surrogate32, TextEncoding::UTF32LittleEndian)), kReplacement);

    std::string out;
    for (const char32_t c : {U'A', char32_t{0x7FF}, char32_t{0xFFFF}, char32_t{0x10FFFF}, char32_t{0xD800}, char32_t{0x110000}}) {
        appendCodePoint(out, c);
    }
    EXPECT_EQ(out, "A\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF" + kReplacement + kReplacement);

    // In UTF-8, each maximal ill-formed part becomes one replacement.
    const std::string r = kReplacement;
    const std::pair<std::string_view, std::string> cases[] = {
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"}, {"\xF0\x9F\x98" "a", r + "a"}, {"\x80\x80", r + r},
        {"\xF5\x80", r + r}, {"\xE0\x80\x80", r + r + r}, {"\xED\xA0\x80", r + r + r},
        {"\xF4\x90\x80\x80", r + r + r + r}, {"a\xC2", "a" + r}};
    for (const auto& [bytes, expected] : cases) {
        out.clear();
        appendValidUTF8(out, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        EXPECT_EQ(out, expected);
    }
}

}  // namespace
}  // namespace quintora
