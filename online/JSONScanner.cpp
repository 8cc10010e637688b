#include "online/JSONScanner.hpp"

#include "online/TextEncoding.hpp"

namespace quintora {

namespace {

bool report(int code, JSONError* error) {
    if (code != 0 && error) {
        *error = makeJSONScannerError(code);
    }
    return code == 0;
}

// A dictionary or array that fails puts its own code in place of its member's, but running into the
// nesting limit is no fault of the enclosing construct and is passed on as it is.
int enclosingFailure(int memberCode, int ownCode) {
    return memberCode == kJSONScannerNestingTooDeep ? memberCode : ownCode;
}

class DepthGuard {
  public:
    explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

  private:
    int& depth_;
};

int hexValue(std::uint8_t c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

JSONScanner::JSONScanner(std::span<const std::uint8_t> data) { JSONScanner::setData(data); }

JSONScanner JSONScanner::scannerWithData(std::span<const std::uint8_t> data) { return JSONScanner(data); }

void JSONScanner::setData(std::span<const std::uint8_t> data) {
    const TextEncoding encoding = detectJSONEncoding(data);
    if (encoding == TextEncoding::UTF8) {
        // Ill-formed UTF-8 is left in place here and replaced where strings are decoded.
        DataScanner::setData(data);
    } else {
        adoptData(convertToUTF8(data, encoding));
    }
}

bool JSONScanner::scanJSONObject(std::optional<JSONValue>* out, JSONError* error) {
    std::optional<JSONValue> value;
    const int code = scanObject(value);
    if (code == 0 && out) {
        *out = std::move(value);
    }
    return report(code, error);
}

bool JSONScanner::scanJSONDictionary(std::shared_ptr<const JSONDictionary>* out, JSONError* error) {
    std::shared_ptr<const JSONDictionary> dictionary;
    const int code = scanDictionary(dictionary);
    if (code == 0 && out) {
        *out = std::move(dictionary);
    }
    return report(code, error);
}

bool JSONScanner::scanJSONArray(std::shared_ptr<const JSONArray>* out, JSONError* error) {
    std::shared_ptr<const JSONArray> array;
    const int code = scanArray(array);
    if (code == 0 && out) {
        *out = std::move(array);
    }
    return report(code, error);
}

bool JSONScanner::scanJSONStringConstant(std::string* out, JSONError* error) {
    std::string string;
    const int code = scanStringConstant(string);
    if (code == 0 && out) {
        *out = std::move(string);
    }
    return report(code, error);
}

bool JSONScanner::scanJSONNumberConstant(double* out, JSONError* error) {
    double number = 0.0;
    const int code = scanNumberConstant(number);
    if (code == 0 && out) {
        *out = number;
    }
    return report(code, error);
}

bool JSONScanner::scanNotQuoteCharactersIntoString(std::string* out) {
    const std::size_t start = current_;
    while (current_ < length() && bytes()[current_] != '"' && bytes()[current_] != '\\') {
        ++current_;
    }
    if (current_ == start) {
        return false;
    }
    if (out) {
        *out = decodeUTF8(bytes() + start, current_ - start);
    }
    return true;
}

int JSONScanner::scanObject(std::optional<JSONValue>& out) {
    skipWhitespace();
    switch (currentCharacter()) {
        case u't':
            if (scanWord("true")) {
                out = JSONValue(JSONNumber::boolean(true));
            }
            return 0;
        case u'f':
            if (scanWord("false")) {
                out = JSONValue(JSONNumber::boolean(false));
            }
            return 0;
        case u'n':
            if (scanWord("null")) {
                out = JSONValue(kJSONNull);
            }
            return 0;
        case u'"':
        case u'\'': {
            std::string string;
            const int code = scanStringConstant(string);
            if (code == 0) {
                out = JSONValue(std::move(string));
            }
            return code;
        }
        case u'-':
        case u'0':
        case u'1':
        case u'2':
        case u'3':
        case u'4':
        case u'5':
        case u'6':
        case u'7':
        case u'8':
        case u'9': {
            double number = 0.0;
            const int code = scanNumberConstant(number);
            if (code == 0) {
                out = JSONValue(JSONNumber{number, false});
            }
            return code;
        }
        case u'{': {
            std::shared_ptr<const JSONDictionary> dictionary;
            const int code = scanDictionary(dictionary);
            if (code == 0) {
                out = JSONValue(std::move(dictionary));
            }
            return code;
        }
        case u'[': {
            std::shared_ptr<const JSONArray> array;
            const int code = scanArray(array);
            if (code == 0) {
                out = JSONValue(std::move(array));
            }
            return code;
        }
        default:
            return 0;
    }
}

int JSONScanner::scanDictionary(std::shared_ptr<const JSONDictionary>& out) {
    const std::size_t start = current_;
    if (currentCharacter() != u'{') {
        return kJSONScannerDictionaryNotStarted;
    }
    if (depth_ >= kJSONMaximumNestingDepth) {
        return kJSONScannerNestingTooDeep;
    }
    const DepthGuard guard(depth_);
    ++current_;

    const auto fail = [&](int code) {
        current_ = start;
        return code;
    };
    JSONDictionary dictionary;
    std::string key;
    for (;;) {
        if (currentCharacter() == u'}') {
            break;
        }
        skipWhitespace();
        if (currentCharacter() == u'}') {
            break;
        }
        if (const int code = scanStringConstant(key); code != 0) {
            return fail(enclosingFailure(code, kJSONScannerDictionaryKey));
        }
        skipWhitespace();
        if (!scanCharacter(u':')) {
            return fail(kJSONScannerDictionaryColon);
        }
        std::optional<JSONValue> value;
        if (const int code = scanObject(value); code != 0) {
            return fail(enclosingFailure(code, kJSONScannerDictionaryValue));
        }
        // A later equal key replaces the earlier one, and a value that yields nothing removes the key.
        if (value) {
            dictionary.insert_or_assign(std::move(key), std::move(*value));
        } else {
            dictionary.erase(key);
        }
        skipWhitespace();
        if (scanCharacter(u',')) {
            skipWhitespace();
            continue;
        }
        if (currentCharacter() != u'}') {
            return fail(kJSONScannerDictionaryComma);
        }
        break;
    }
    // Every way out of the loop stands on the closing brace; the check guards against that changing.
    if (!scanCharacter(u'}')) {
        return fail(kJSONScannerDictionaryNotTerminated);
    }
    out = std::make_shared<const JSONDictionary>(std::move(dictionary));
    return 0;
}

int JSONScanner::scanArray(std::shared_ptr<const JSONArray>& out) {
    const std::size_t start = current_;
    if (currentCharacter() != u'[') {
        return kJSONScannerArrayNotStarted;
    }
    if (depth_ >= kJSONMaximumNestingDepth) {
        return kJSONScannerNestingTooDeep;
    }
    const DepthGuard guard(depth_);
    ++current_;
    skipWhitespace();

    const auto fail = [&](int code) {
        current_ = start;
        return code;
    };
    JSONArray array;
    while (currentCharacter() != u']') {
        std::optional<JSONValue> value;
        const int code = scanObject(value);
        if (code != 0) {
            return fail(enclosingFailure(code, kJSONScannerArrayValue));
        }
        // An array has no way to hold "nothing", so a member that yields no value is a failure; this also
        // ends the loop at the end of the text, where the current character starts no value.
        if (!value) {
            return fail(kJSONScannerArrayValue);
        }
        array.push_back(std::move(*value));
        skipWhitespace();
        if (scanCharacter(u',')) {
            skipWhitespace();
        } else {
            if (currentCharacter() != u']') {
                return fail(kJSONScannerArrayComma);
            }
            break;
        }
    }
    // As with dictionaries, the loop only ends on the closing bracket.
    if (!scanCharacter(u']')) {
        return fail(kJSONScannerArrayNotTerminated);
    }
    out = std::make_shared<const JSONArray>(std::move(array));
    return 0;
}

int JSONScanner::scanStringConstant(std::string& out) {
    const std::size_t start = current_;
    skipWhitespace();
    if (!scanCharacter(u'"')) {
        current_ = start;
        return kJSONScannerStringNotStarted;
    }
    const auto fail = [&](int code) {
        current_ = start;
        return code;
    };
    out.clear();
    const std::uint8_t* const text = bytes();
    const std::size_t end = length();
    for (;;) {
        const std::size_t runStart = current_;
        while (current_ < end && text[current_] != '"' && text[current_] != '\\') {
            ++current_;
        }
        appendValidUTF8(out, text + runStart, current_ - runStart);
        // The text ended inside the string, possibly right after a backslash.
        if (current_ + 1 > end || (text[current_] == '\\' && current_ + 2 > end)) {
            return fail(kJSONScannerStringNotTerminated);
        }
        if (text[current_] == '"') {
            ++current_;
            return 0;
        }
        const std::uint8_t escaped = text[current_ + 1];
        current_ += 2;
        switch (escaped) {
            case '"':
            case '/':
            case '\\':
                out.push_back(static_cast<char>(escaped));
                break;
            case 'b':
                out.push_back('\b');
                break;
            case 'f':
                out.push_back('\f');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'u':
                if (const int code = scanUnicodeEscape(out); code != 0) {
                    return fail(code);
                }
                break;
            default:
                return fail(kJSONScannerStringUnknownEscape);
        }
    }
}

bool JSONScanner::readHexUnit(std::size_t at, char32_t& unit) const {
    if (at > length() || length() - at < 4) {
        return false;
    }
    unit = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const int digit = hexValue(bytes()[at + i]);
        if (digit < 0) {
            return false;
        }
        unit = (unit << 4) | static_cast<char32_t>(digit);
    }
    return true;
}

// Called just after "\u". A high surrogate followed by an escaped low surrogate is one character; any
// other surrogate stands for nothing on its own and is written as U+FFFD.
int JSONScanner::scanUnicodeEscape(std::string& out) {
    char32_t unit = 0;
    if (!readHexUnit(current_, unit)) {
        return kJSONScannerStringUnicodeEscape;
    }
    current_ += 4;
    if (isHighSurrogate(unit)) {
        char32_t low = 0;
        if (current_ + 2 <= length() && bytes()[current_] == '\\' && bytes()[current_ + 1] == 'u' &&
            readHexUnit(current_ + 2, low) && isLowSurrogate(low)) {
            current_ += 6;
            appendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            return 0;
        }
    }
    appendCodePoint(out, unit);  // a lone surrogate comes out as U+FFFD
    return 0;
}

int JSONScanner::scanNumberConstant(double& out) { return scanNumber(&out) ? 0 : kJSONScannerNumber; }

bool JSONScanner::scanWord(std::string_view word) { return scanString(word); }

}  // namespace quintora
