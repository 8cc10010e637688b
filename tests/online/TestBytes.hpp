#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quintora::test {

inline std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// `text` as UTF-16 (pairs for characters past U+FFFF) or UTF-32 code units in the given byte order.
inline std::vector<std::uint8_t> encodeUnits(std::u32string_view text, int width, bool bigEndian) {
    std::vector<std::uint8_t> out;
    auto put = [&](std::uint32_t unit) {
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (bigEndian ? width - 1 - i : i);
            out.push_back(static_cast<std::uint8_t>(unit >> shift));
        }
    };
    for (const char32_t c : text) {
        if (width == 2 && c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

}  // namespace quintora::test
