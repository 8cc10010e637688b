#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quintora {

inline constexpr std::string_view kJSONDeserializerErrorDomain = "JSONDeserializerErrorDomain";
inline constexpr std::string_view kJSONScannerErrorDomain = "JSONScannerErrorDomain";

// Codes of kJSONScannerErrorDomain. Each names the construct that failed; an enclosing dictionary or
// array reports its own code in place of its member's, except for kJSONScannerNestingTooDeep, which is
// a limit of this reader rather than a fault of any one construct and so reaches the caller unchanged.
enum JSONScannerErrorCode : int {
    kJSONScannerDictionaryNotStarted = -1,
    kJSONScannerDictionaryKey = -2,
    kJSONScannerDictionaryColon = -3,
    kJSONScannerDictionaryValue = -4,
    kJSONScannerDictionaryComma = -5,
    kJSONScannerDictionaryNotTerminated = -6,
    kJSONScannerArrayNotStarted = -7,
    kJSONScannerArrayValue = -8,
    kJSONScannerArrayComma = -9,
    kJSONScannerArrayNotTerminated = -10,
    kJSONScannerStringNotStarted = -11,
    kJSONScannerStringUnicodeEscape = -12,
    kJSONScannerStringUnknownEscape = -13,
    kJSONScannerNumber = -14,
    kJSONScannerStringNotTerminated = -15,
    kJSONScannerNestingTooDeep = -16,
};

// Codes of kJSONDeserializerErrorDomain.
enum JSONDeserializerErrorCode : int {
    kJSONDeserializerNoData = -1,
};

// How deeply arrays and dictionaries may nest. Each level costs stack, and the text comes from the
// network, so a hostile reply must meet a limit instead of exhausting the stack.
inline constexpr int kJSONMaximumNestingDepth = 512;

struct JSONError {
    std::string domain;
    int code = 0;
    std::optional<std::string> localizedDescription;  // absent for the deserializer's own error

    friend bool operator==(const JSONError&, const JSONError&) = default;
};

// The description that goes with a kJSONScannerErrorDomain code.
[[nodiscard]] std::string_view describeJSONScannerError(int code);

[[nodiscard]] JSONError makeJSONScannerError(int code);

}  // namespace quintora
