#include "online/JSONDeserializer.hpp"

#include "online/JSONScanner.hpp"

namespace quintora {

std::shared_ptr<const JSONDictionary> JSONDeserializer::deserializeAsDictionary(
    std::span<const std::uint8_t> data, JSONError* error) {
    if (data.empty()) {
        if (error) {
            *error =
                JSONError{std::string(kJSONDeserializerErrorDomain), kJSONDeserializerNoData, std::nullopt};
        }
        return nullptr;
    }
    JSONScanner scanner(data);
    std::shared_ptr<const JSONDictionary> dictionary;
    if (!scanner.scanJSONDictionary(&dictionary, error)) {
        return nullptr;
    }
    return dictionary;
}

std::shared_ptr<const JSONDictionary> JSONDeserializer::deserializeAsDictionary(std::string_view text,
                                                                                JSONError* error) {
    return deserializeAsDictionary(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
        error);
}

}  // namespace quintora
