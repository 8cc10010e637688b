#pragma once
// The replay field's encoding: base64 with the standard alphabet and padding (RFC 4648, section 4).
#include <optional>
#include <string>
#include <string_view>

namespace quintora::server {

// The bytes `text` encodes, or nothing when it is not canonical base64: a length that is not a multiple of
// four, a character outside the alphabet, padding anywhere but at the end, or set bits under the padding.
[[nodiscard]] std::optional<std::string> decodeBase64(std::string_view text);

}  // namespace quintora::server
