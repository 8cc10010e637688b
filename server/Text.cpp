#include "server/Text.hpp"

#include <array>
#include <charconv>
#include <cstdint>
#include <ctime>

#include "online/TextEncoding.hpp"

namespace quintora::server {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Calls `visit` with each code point of text that is known to be well-formed.
template <class Visit>
void forEachCodePoint(std::string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        visit(codePoint);
        i += length;
    }
}

void appendUnicodeEscape(std::string& out, unsigned unit) {
    static constexpr char digits[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += digits[(unit >> shift) & 0xF];
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    // The shared decoder replaces every ill-formed part, so well-formed text is exactly what survives it.
    return decodeUTF8(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()) == text;
}

std::size_t countCharacters(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += isContinuation(static_cast<unsigned char>(c)) ? 0 : 1;
    return count;
}

bool hasControlCharacters(std::string_view text) {
    bool found = false;
    forEachCodePoint(text, [&](char32_t c) { found = found || c < 0x20 || (c >= 0x7F && c <= 0x9F); });
    return found;
}

std::string_view trimBlanks(std::string_view text) {
    static constexpr std::array<std::string_view, 4> blanks{" ", "\t", "\xC2\xA0", "\xE3\x80\x80"};
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const std::string_view blank : blanks) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                trimmed = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                trimmed = true;
            }
        }
    }
    return text;
}

void appendJsonString(std::string& out, std::string_view text) {
    const std::string valid = decodeUTF8(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    out += '"';
    forEachCodePoint(valid, [&](char32_t c) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c < 0x10000) {
            appendUnicodeEscape(out, c);
        } else {
            const char32_t offset = c - 0x10000;
            appendUnicodeEscape(out, 0xD800 + (offset >> 10));
            appendUnicodeEscape(out, 0xDC00 + (offset & 0x3FF));
        }
    });
    out += '"';
}

std::string numberText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string isoDate(std::int64_t seconds) {
    const auto time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return buffer;
}

}  // namespace quintora::server
