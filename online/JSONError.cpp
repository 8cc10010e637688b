#include "online/JSONError.hpp"

namespace quintora {

std::string_view describeJSONScannerError(int code) {
    switch (code) {
        case kJSONScannerDictionaryNotStarted:
            return "Could not scan dictionary. Dictionary that does not start with '{' character.";
        case kJSONScannerDictionaryKey:
            return "Could not scan dictionary. Failed to scan a key.";
        case kJSONScannerDictionaryColon:
            return "Could not scan dictionary. Key was not terminated with a ':' character.";
        case kJSONScannerDictionaryValue:
            return "Could not scan dictionary. Failed to scan a value.";
        case kJSONScannerDictionaryComma:
            return "Could not scan dictionary. Key value pairs not delimited with a ',' character.";
        case kJSONScannerDictionaryNotTerminated:
            return "Could not scan dictionary. Dictionary not terminated by a '}' character.";
        case kJSONScannerArrayNotStarted:
            return "Could not scan array. Array that does not start with '[' character.";
        case kJSONScannerArrayValue:
            return "Could not scan array. Could not scan a value.";
        case kJSONScannerArrayComma:
        case kJSONScannerArrayNotTerminated:
            return "Could not scan array. Array not terminated by a ']' character.";
        case kJSONScannerStringNotStarted:
            return "Could not scan string constant. String not started by a '\"' character.";
        case kJSONScannerStringUnicodeEscape:
            return "Could not scan string constant. Unicode character could not be decoded.";
        case kJSONScannerStringUnknownEscape:
            return "Could not scan string constant. Unknown escape code.";
        case kJSONScannerNumber:
            return "Could not scan number constant.";
        case kJSONScannerStringNotTerminated:
            return "Could not scan string constant. String not terminated by a '\"' character.";
        case kJSONScannerNestingTooDeep:
            static_assert(kJSONMaximumNestingDepth == 512, "the description names the limit");
            return "Could not scan JSON. Arrays and dictionaries nested more than 512 deep.";
        default:
            return "Could not scan JSON.";
    }
}

JSONError makeJSONScannerError(int code) {
    return JSONError{std::string(kJSONScannerErrorDomain), code, std::string(describeJSONScannerError(code))};
}

}  // namespace quintora
