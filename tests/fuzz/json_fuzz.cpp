// Feeds arbitrary bytes to the JSON reader the way a hostile score server could. Besides the sanitizers'
// checks, it holds the reader to its promises: a failure comes with a scanner or deserializer error,
// a failed construct leaves the scan location where it was, and no scan moves past the end.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "online/DataScanner.hpp"
#include "online/JSONDeserializer.hpp"
#include "online/JSONScanner.hpp"

namespace {

using namespace quintora;

void require(bool condition) {
    if (!condition) std::abort();
}

void checkError(const JSONError& error) {
    require(error.domain == kJSONScannerErrorDomain);
    require(error.code <= -1 && error.code >= kJSONScannerNestingTooDeep);
    require(error.localizedDescription.has_value());
}

void scanEachWay(std::span<const std::uint8_t> bytes) {
    // Restarting at many positions costs time quadratic in the input, so only the first few restarts are
    // taken; the deserializer above has already read the whole input once.
    JSONScanner scanner(bytes);
    for (int restarts = 0; restarts < 256 && !scanner.isAtEnd(); ++restarts) {
        const std::size_t before = scanner.scanLocation();
        JSONError error;
        std::optional<JSONValue> value;
        if (scanner.scanJSONObject(&value, &error)) {
            if (!value) scanner.setScanLocation(before + 1);  // skip what starts no value
        } else {
            checkError(error);
            std::shared_ptr<const JSONArray> array;
            if (!scanner.scanJSONArray(&array, &error)) checkError(error);
            scanner.setScanLocation(before + 1);
        }
        require(scanner.scanLocation() <= scanner.length());
    }

    JSONScanner direct(bytes);
    JSONError error;
    const std::size_t start = direct.scanLocation();
    if (!direct.scanJSONArray(nullptr, &error)) {
        require(direct.scanLocation() == start);
        checkError(error);
    }
    std::string string;
    if (!direct.scanJSONStringConstant(&string, &error)) checkError(error);
    double number = 0.0;
    (void)direct.scanJSONNumberConstant(&number);

    DataScanner plain(bytes);
    std::string out;
    (void)plain.scanUpToString("\"", &out);
    (void)plain.scanUpToCharactersFromSet(CharacterSet("{[,"), &out);
    (void)plain.scanCharactersFromSet(CharacterSet("{[,"), &out);
    (void)plain.scanNumber(&number);
    plain.skipWhitespace();
    out = plain.remainingString();
    require(plain.scanLocation() <= plain.length());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    JSONError error;
    const auto dictionary = JSONDeserializer::deserializer().deserializeAsDictionary(bytes, &error);
    if (!dictionary) {
        if (size == 0) {
            require(error.domain == kJSONDeserializerErrorDomain && error.code == -1);
        } else {
            checkError(error);
        }
    }
    scanEachWay(bytes);
    return 0;
}
