#include "server/Html.hpp"

#include "online/ScoreForm.hpp"
#include "server/Text.hpp"

namespace quintora::server {

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    forEachCharacter(text, [&](char32_t c) {
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
                appendCharacter(out, isControl(c) && c != '\t' && c != '\n' ? U'\uFFFD' : c);
        }
    });
    return out;
}

std::string escapeUrlComponent(std::string_view text) { return percentEscape(text, "-._~"); }

}  // namespace quintora::server
