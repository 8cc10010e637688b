#include "server/Text.hpp"

#include <unicase.h>
#include <unictype.h>
#include <unistr.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace quintora::server {

namespace {

const std::uint8_t* bytes(std::string_view text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

}  // namespace

std::pair<char32_t, std::size_t> firstCharacter(std::string_view text) {
    if (static_cast<unsigned char>(text.front()) < 0x80) return {static_cast<char32_t>(text.front()), 1};
    ucs4_t c = 0;
    const int length = u8_mbtouc(&c, bytes(text), text.size());
    return {c, static_cast<std::size_t>(length)};
}

bool isValidUtf8(std::string_view text) { return u8_check(bytes(text), text.size()) == nullptr; }

std::size_t countCharacters(std::string_view text) { return u8_mbsnlen(bytes(text), text.size()); }

bool isControl(char32_t c) {
    return uc_is_general_category(c, UC_CATEGORY_Cc) || uc_is_property_bidi_control(c);
}

bool hasControlCharacters(std::string_view text) {
    bool found = false;
    forEachCharacter(text, [&](char32_t c) { found = found || isControl(c); });
    return found;
}

bool hasVisibleCharacters(std::string_view text) {
    bool found = false;
    forEachCharacter(text, [&](char32_t c) {
        found = found || !(uc_is_property_white_space(c) || uc_is_property_default_ignorable_code_point(c));
    });
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

std::string foldCase(std::string_view text) {
    std::size_t length = 0;
    const std::unique_ptr<std::uint8_t, decltype(&std::free)> folded(
        u8_casefold(bytes(text), text.size(), nullptr, nullptr, nullptr, &length), &std::free);
    return folded ? std::string(reinterpret_cast<const char*>(folded.get()), length) : std::string(text);
}

void appendCharacter(std::string& out, char32_t c) {
    std::uint8_t buffer[6];
    const int length = u8_uctomb(buffer, c, sizeof buffer);
    if (length > 0) out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

std::string numberText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string isoDate(std::int64_t seconds) {
    // Calendar arithmetic rather than gmtime_r, which takes the C library's time zone lock: every row of
    // every page goes through here, from many threads at once.
    using namespace std::chrono;
    const sys_seconds time{std::chrono::seconds(seconds)};
    const sys_days day = floor<days>(time);
    const year_month_day date(day);
    const hh_mm_ss clock(time - day);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return buffer;
}

}  // namespace quintora::server
