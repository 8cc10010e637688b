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

// Writes `codePoint` as UTF-8 into `out` (room for 4 bytes) and gives its length; surrogates and values
// past U+10FFFF are written as U+FFFD.
std::size_t encodeCodePoint(char32_t codePoint, std::uint8_t* out);

// Appends `codePoint` as UTF-8, as encodeCodePoint writes it.
template <class Bytes>
void appendCodePoint(Bytes& out, char32_t codePoint) {
    std::uint8_t bytes[4];
    const std::size_t length = encodeCodePoint(codePoint, bytes);
    out.insert(out.end(), bytes, bytes + length);
}

// Appends `bytes` to `out`, replacing each ill-formed part with U+FFFD (one per maximal ill-formed
// subpart, as Unicode recommends), so that whatever arrives from the network ends up as valid UTF-8.
void appendValidUTF8(std::string& out, const std::uint8_t* bytes, std::size_t count);

// `bytes` decoded as UTF-8 with the same replacement.
[[nodiscard]] std::string decodeUTF8(const std::uint8_t* bytes, std::size_t count);

}  // namespace quintora
