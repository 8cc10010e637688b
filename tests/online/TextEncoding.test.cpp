#include "online/TextEncoding.hpp"

#include <gtest/gtest.h>

#include "TestBytes.hpp"

namespace quintora {
namespace {

using test::bytesOf;
using test::encodeUnits;

std::string asString(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(TextEncoding, DetectionFollowsTheZeroBytesOfTheFirstFourAndEachEncodingBecomesUTF8) {
    const std::u32string text = U"{\"\u00e9\u4e2d\U0001F600\"}";
    const std::string expected = "{\"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\"}";
    const struct {
        int width;
        bool bigEndian;
        TextEncoding encoding;
    } cases[] = {{2, true, TextEncoding::UTF16BigEndian},
                 {2, false, TextEncoding::UTF16LittleEndian},
                 {4, true, TextEncoding::UTF32BigEndian},
                 {4, false, TextEncoding::UTF32LittleEndian}};
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

}  // namespace
}  // namespace quintora
