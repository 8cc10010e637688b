#include "server/Html.hpp"

#include <cstdint>

#include "online/TextEncoding.hpp"

namespace quintora::server {

std::string escapeHtml(std::string_view text) {
    const std::string wellFormed =
        decodeUTF8(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    std::string out;
    out.reserve(wellFormed.size());
    for (const char c : wellFormed) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                // C1 controls are two-byte sequences and pass as text; browsers show them as nothing harmful.
                if ((byte < 0x20 && c != '\t' && c != '\n') || byte == 0x7F) {
                    out += "\xEF\xBF\xBD";
                } else {
                    out += c;
                }
        }
    }
    return out;
}

std::string escapeUrlComponent(std::string_view text) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            out += c;
        } else {
            out += '%';
            out += digits[byte >> 4];
            out += digits[byte & 15];
        }
    }
    return out;
}

}  // namespace quintora::server
