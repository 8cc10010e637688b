#include "server/Html.hpp"

#include <cstdint>

#include "online/ScoreForm.hpp"
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

std::string escapeUrlComponent(std::string_view text) { return percentEscape(text, "-._~"); }

}  // namespace quintora::server
