#pragma once
// The score form as client and server both see it: the escaping of a field, the decoding of a body, the
// order of the signed fields and their MD5 signature. Both ends use these functions, so that what one side
// signs is exactly what the other checks.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct md5_ctx;

namespace quintora {

using FormFields = std::vector<std::pair<std::string, std::string>>;

// Percent-escapes text byte by byte: letters, digits and the punctuation given stay, every other byte
// becomes "%XX" (upper-case digits).
[[nodiscard]] std::string percentEscape(std::string_view text, std::string_view punctuationKept);

// Percent-escapes text for a form field, byte by byte in UTF-8: letters, digits and the URL punctuation
// "-._~!$'()*,/:;?@" stay, everything else becomes "%XX" (upper-case digits). "&", "=", "+" and "%" are
// escaped too, so a standard form decoder gives back exactly the text.
[[nodiscard]] std::string encodeData(std::string_view text);

// Decodes an application/x-www-form-urlencoded body: "&" separates fields, the first "=" splits key from
// value, "+" is a blank and "%XX" a byte. Empty pieces are skipped. A broken escape gives nothing.
[[nodiscard]] std::optional<FormFields> decodeForm(std::string_view body);

// Orders two keys for signing. With a context, ascending and case-insensitive (keys that differ only in
// case fall back to byte order, so the order is total); with none, the reverse. Negative, 0 or positive.
[[nodiscard]] int alphabeticSort(std::string_view first, std::string_view second, const void* context);

// The fields the client adds after signing; they are sent but not signed.
[[nodiscard]] bool isUnsignedField(std::string_view key);

// The running signature of one send: the values in signing order, then the game key.
class ScoreHash {
  public:
    ScoreHash();
    ~ScoreHash();
    ScoreHash(ScoreHash&&) noexcept;
    ScoreHash& operator=(ScoreHash&&) noexcept;
    void add(std::string_view value);
    // Feeds the game key, finishes the digest and gives it as 32 lower-case hexadecimal digits.
    [[nodiscard]] std::string finish(std::string_view gameKey);

  private:
    std::unique_ptr<md5_ctx> md5Ctx;
};

// The signature a form should carry: every signed field's value in signing order of the keys, then the
// key. "qs_hash" itself and the unsigned fields are left out.
[[nodiscard]] std::string scoreHashOf(const FormFields& fields, std::string_view gameKey);

// Bytes as base64 text (the standard alphabet, with padding), as a form field carries a file.
[[nodiscard]] std::string base64Text(std::span<const std::uint8_t> bytes);
// The bytes a base64 text stands for, or nothing unless the text is exactly what base64Text writes for
// them: no blanks, padding only at the end, no bits set under it. So each byte string has one text.
[[nodiscard]] std::optional<std::string> bytesOfBase64(std::string_view text);

// Compares two signatures in time that does not depend on where they differ.
[[nodiscard]] bool hashesEqual(std::string_view a, std::string_view b);

}  // namespace quintora
