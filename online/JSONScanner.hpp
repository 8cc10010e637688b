#pragma once

#include <memory>
#include <optional>
#include <string>

#include "online/DataScanner.hpp"
#include "online/JSONError.hpp"
#include "online/JSONValue.hpp"

namespace quintora {

// Scans JSON values from bytes in any of the encodings of RFC 4627; text that is not UTF-8 is re-encoded
// as UTF-8 when it is set.
//
// The reading is lenient in the ways the score server's replies need: a comma before a closing bracket
// or brace is accepted, anything after the value scanned is left alone, and numbers are any run of
// "0123456789eE-." read by their leading decimal part. It is strict elsewhere: strings need double quotes,
// and a '+' starts no value.
//
// Each scan operation returns whether it succeeded; the value goes to `out` and, on failure, an error of
// kJSONScannerErrorDomain to `error`, each only when given. A failed dictionary, array or string leaves
// the scan location where it started.
class JSONScanner : public DataScanner {
  public:
    JSONScanner() = default;
    explicit JSONScanner(std::span<const std::uint8_t> data);

    [[nodiscard]] static JSONScanner scannerWithData(std::span<const std::uint8_t> data);

    // Detects the encoding from the first four bytes and keeps the text as UTF-8.
    void setData(std::span<const std::uint8_t> data) override;

    // Skips white space and scans whatever value starts there. A character that starts no value (or a
    // 't', 'f' or 'n' not followed by its word) is a success that yields nothing: `out` is left empty and
    // nothing is consumed.
    [[nodiscard]] bool scanJSONObject(std::optional<JSONValue>* out, JSONError* error = nullptr);
    // The opening brace must be at the scan location itself: no white space is skipped before it.
    [[nodiscard]] bool scanJSONDictionary(std::shared_ptr<const JSONDictionary>* out,
                                          JSONError* error = nullptr);
    [[nodiscard]] bool scanJSONArray(std::shared_ptr<const JSONArray>* out, JSONError* error = nullptr);
    [[nodiscard]] bool scanJSONStringConstant(std::string* out, JSONError* error = nullptr);
    [[nodiscard]] bool scanJSONNumberConstant(double* out, JSONError* error = nullptr);
    // The longest run of bytes that are neither a double quote nor a backslash; false when it is empty.
    [[nodiscard]] bool scanNotQuoteCharactersIntoString(std::string* out);

  private:
    // The scans proper return 0 or an error code; the error object is only made at the surface, and
    // only for a caller that asked for it.
    int scanObject(std::optional<JSONValue>& out);
    int scanDictionary(std::shared_ptr<const JSONDictionary>& out);
    int scanArray(std::shared_ptr<const JSONArray>& out);
    int scanStringConstant(std::string& out);
    int scanNumberConstant(double& out);
    int scanUnicodeEscape(std::string& out);
    bool scanWord(std::string_view word);
    bool readHexUnit(std::size_t at, char32_t& unit) const;

    int depth_ = 0;
};

}  // namespace quintora
