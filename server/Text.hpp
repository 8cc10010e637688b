#pragma once
// Text as the server takes it in and gives it out, through libunistring: strict UTF-8 checks for what
// clients send, one rule for the characters that must not reach a page or a terminal, case folding for the
// operator's searches, and the dates and numbers of what it answers.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace quintora::server {

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
[[nodiscard]] bool isValidUtf8(std::string_view text);

// The number of characters in `text`, each ill-formed part counting as one.
[[nodiscard]] std::size_t countCharacters(std::string_view text);

// The character at the start of non-empty `text` and its length in bytes; an ill-formed part is U+FFFD.
[[nodiscard]] std::pair<char32_t, std::size_t> firstCharacter(std::string_view text);

// Calls `visit` with each character of `text`; each ill-formed part comes as U+FFFD.
void forEachCharacter(std::string_view text, const auto& visit) {
    while (!text.empty()) {
        const auto [c, length] = firstCharacter(text);
        visit(c);
        text.remove_prefix(length);
    }
}

// The characters no stored text may show as themselves: C0 and C1 controls, DEL, and the bidirectional
// controls that would turn the text after them around (on a page or on the operator's terminal).
[[nodiscard]] bool isControl(char32_t c);

// True when `text` holds a character isControl() names.
[[nodiscard]] bool hasControlCharacters(std::string_view text);

// True when `text` holds something to see: a character that is neither white space nor one of those
// drawn as nothing (zero-width spaces, fillers).
[[nodiscard]] bool hasVisibleCharacters(std::string_view text);

// `text` without leading and trailing blanks (space, tab, and the Unicode no-break and ideographic spaces).
[[nodiscard]] std::string_view trimBlanks(std::string_view text);

// `text` with its case folded the Unicode way ("ÉCOLE" and "école" fold alike); ill-formed text is kept.
[[nodiscard]] std::string foldCase(std::string_view text);

// Appends the UTF-8 form of `c`.
void appendCharacter(std::string& out, char32_t c);

// A time in seconds since 1970 as an ISO 8601 UTC date and time ("2009-01-01T00:00:00Z").
[[nodiscard]] std::string isoDate(std::int64_t seconds);

// The shortest decimal text that reads back as exactly `value` (finite values only).
[[nodiscard]] std::string numberText(double value);

}  // namespace quintora::server
