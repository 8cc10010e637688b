#include "server/Base64.hpp"

#include <array>
#include <cstdint>

namespace quintora::server {

namespace {

constexpr std::int8_t kNotInAlphabet = -1;

constexpr std::array<std::int8_t, 256> alphabetValues() {
    std::array<std::int8_t, 256> values{};
    values.fill(kNotInAlphabet);
    constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        values[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
    return values;
}

}  // namespace

std::optional<std::string> decodeBase64(std::string_view text) {
    static constexpr auto values = alphabetValues();
    if (text.size() % 4 != 0) return std::nullopt;
    const std::size_t padding = text.ends_with("==") ? 2 : text.ends_with('=') ? 1 : 0;
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < text.size() - padding; ++i) {
        const std::int8_t value = values[static_cast<unsigned char>(text[i])];
        if (value == kNotInAlphabet) return std::nullopt;
        bits = bits << 6 | static_cast<std::uint32_t>(value);
        if (i % 4 == 3) {
            bytes += static_cast<char>(bits >> 16);
            bytes += static_cast<char>(bits >> 8);
            bytes += static_cast<char>(bits);
            bits = 0;
        }
    }
    // The last group: two characters give one byte, three give two; the bits left over must be zero, so
    // that each byte string has exactly one encoding.
    if (padding == 2) {
        if ((bits & 0xF) != 0) return std::nullopt;
        bytes += static_cast<char>(bits >> 4);
    } else if (padding == 1) {
        if ((bits & 0x3) != 0) return std::nullopt;
        bytes += static_cast<char>(bits >> 10);
        bytes += static_cast<char>(bits >> 2);
    }
    return bytes;
}

}  // namespace quintora::server
