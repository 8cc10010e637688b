#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "online/JSONError.hpp"
#include "online/JSONValue.hpp"

namespace quintora {

// Something that turns the bytes of a reply into a dictionary.
class CDeserializerProtocol {
  public:
    virtual ~CDeserializerProtocol() = default;

    // The dictionary the data holds, or nullptr with `error` (when given) saying why.
    [[nodiscard]] virtual std::shared_ptr<const JSONDictionary> deserializeAsDictionary(
        std::span<const std::uint8_t> data, JSONError* error) = 0;
};

// Reads a JSON reply whose text is one dictionary. The brace must be the first character (after the
// encoding is detected, in whatever encoding it came), and whatever follows the closing brace is ignored.
// Failures are results: empty data gives kJSONDeserializerErrorDomain code -1 with no description, and
// text that does not scan gives the scanner's error.
class JSONDeserializer final : public CDeserializerProtocol {
  public:
    [[nodiscard]] static JSONDeserializer deserializer() { return {}; }

    [[nodiscard]] std::shared_ptr<const JSONDictionary> deserializeAsDictionary(
        std::span<const std::uint8_t> data, JSONError* error) override;

    [[nodiscard]] std::shared_ptr<const JSONDictionary> deserializeAsDictionary(std::string_view text,
                                                                                JSONError* error);
};

}  // namespace quintora
