#pragma once
// Text written into a web page. Stored names come from anyone on the internet: every piece of text goes
// through one of these on its way into HTML, so a name can never become markup.
#include <string>
#include <string_view>

namespace quintora::server {

// Text safe both between tags and inside a quoted attribute: & < > " ' become character references,
// ill-formed UTF-8 and control characters (see isControl) other than tab and line feed become U+FFFD.
[[nodiscard]] std::string escapeHtml(std::string_view text);

// Text as one component of a URL's query: every byte but the unreserved ones (letters, digits, "-._~")
// becomes "%XX". A URL made of such components still goes through escapeHtml when written into a page.
[[nodiscard]] std::string escapeUrlComponent(std::string_view text);

}  // namespace quintora::server
