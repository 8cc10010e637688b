#include "online/JSONWriter.hpp"

#include <unistr.h>

#include <cstdint>

namespace quintora {
namespace {

void appendUnicodeEscape(std::string& out, unsigned unit) {
    static constexpr char digits[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += digits[(unit >> shift) & 0xF];
}

}  // namespace

void appendJSONString(std::string& out, std::string_view text) {
    out += '"';
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    for (std::size_t at = 0; at < text.size();) {
        ucs4_t c = 0;
        // An ill-formed part comes back as U+FFFD with the length to skip past it.
        at += static_cast<std::size_t>(u8_mbtouc(&c, bytes + at, text.size() - at));
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c < 0x10000) {
            appendUnicodeEscape(out, c);
        } else {
            const ucs4_t offset = c - 0x10000;
            appendUnicodeEscape(out, 0xD800 + (offset >> 10));
            appendUnicodeEscape(out, 0xDC00 + (offset & 0x3FF));
        }
    }
    out += '"';
}

}  // namespace quintora
