#pragma once
// Text as the server takes it in and gives it out: strict UTF-8 checks for what clients send, and JSON
// string literals for what it answers.
#include <cstdint>
#include <string>
#include <string_view>

namespace quintora::server {

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
[[nodiscard]] bool isValidUtf8(std::string_view text);

// The number of characters in well-formed UTF-8 text.
[[nodiscard]] std::size_t countCharacters(std::string_view text);

// True when valid UTF-8 `text` holds a C0 or C1 control character or DEL.
[[nodiscard]] bool hasControlCharacters(std::string_view text);

// `text` without leading and trailing blanks (space, tab, and the Unicode no-break and ideographic spaces).
[[nodiscard]] std::string_view trimBlanks(std::string_view text);

// Appends `text` as a quoted JSON string. Everything past ASCII is written as \u escapes, so the answer
// reads the same whether the reader takes it as UTF-8 or byte by byte; ill-formed bytes become U+FFFD.
void appendJsonString(std::string& out, std::string_view text);

// A time in seconds since 1970 as an ISO 8601 UTC date and time ("2009-01-01T00:00:00Z").
[[nodiscard]] std::string isoDate(std::int64_t seconds);

// The shortest decimal text that reads back as exactly `value` (finite values only).
[[nodiscard]] std::string numberText(double value);

}  // namespace quintora::server
