#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quintora {

// The Unicode encodings a JSON text may arrive in (RFC 4627, section 3).
enum class TextEncoding { UTF8, UTF16BigEndian, UTF16LittleEndian, UTF32BigEndian, UTF32LittleEndian };

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// A JSON text begins with two ASCII characters, so the zero bytes among its first four tell the encoding.
// Texts of three bytes or fewer, and every pattern the rule does not name, count as UTF-8.
[[nodiscard]] TextEncoding detectJSONEncoding(std::span<const std::uint8_t> bytes);

// Decodes `bytes` from `encoding` and re-encodes them as UTF-8. Units that name no character (lone
// surrogates, values past U+10FFFF, a truncated last unit) become U+FFFD, so the result is always valid.
[[nodiscard]] std::vector<std::uint8_t> convertToUTF8(std::span<const std::uint8_t> bytes,
                                                      TextEncoding encoding);

// Appends `codePoint` as UTF-8; surrogates and values past U+10FFFF are written as U+FFFD.
template <class Bytes>
void appendCodePoint(Bytes& out, char32_t codePoint) {
    using Byte = typename Bytes::value_type;
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) {
        codePoint = kReplacementCharacter;
    }
    if (codePoint < 0x80) {
        out.push_back(static_cast<Byte>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<Byte>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<Byte>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<Byte>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<Byte>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<Byte>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<Byte>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<Byte>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<Byte>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<Byte>(0x80 | (codePoint & 0x3F)));
    }
}

// Appends `bytes` to `out`, replacing each ill-formed part with U+FFFD (one per maximal ill-formed
// subpart, as Unicode recommends), so that whatever arrives from the network ends up as valid UTF-8.
void appendValidUTF8(std::string& out, const std::uint8_t* bytes, std::size_t count);

// `bytes` decoded as UTF-8 with the same replacement.
[[nodiscard]] std::string decodeUTF8(const std::uint8_t* bytes, std::size_t count);

}  // namespace quintora
