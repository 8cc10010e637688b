#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quintora {

// The values a JSON text reads as. What each JSON form becomes:
//   null            JSONNull, a stateless value: every null is the same null
//   true / false    JSONNumber with isBoolean set and value 1 or 0
//   numbers         JSONNumber holding a double; there is no integer type
//   strings         std::string holding UTF-8 (a "\u0000" escape leaves a NUL inside it)
//   arrays          JSONArray, shared and immutable once read
//   objects         JSONDictionary keyed by UTF-8 strings, shared and immutable once read
// Arrays and dictionaries are held through shared_ptr<const ...> so that copying a JSONValue, or handing
// a part of a document to someone else, never copies the tree underneath.

class JSONValue;

struct JSONNull {
    friend bool operator==(JSONNull, JSONNull) = default;
};
inline constexpr JSONNull kJSONNull{};

struct JSONNumber {
    double value = 0.0;
    bool isBoolean = false;  // read from true or false rather than from digits

    [[nodiscard]] bool boolValue() const { return value != 0.0; }
    [[nodiscard]] static JSONNumber boolean(bool flag) { return {flag ? 1.0 : 0.0, true}; }
    friend bool operator==(const JSONNumber&, const JSONNumber&) = default;
};

using JSONArray = std::vector<JSONValue>;
// Ordered so that walking a dictionary is the same on every run; std::less<> allows lookups by string_view.
using JSONDictionary = std::map<std::string, JSONValue, std::less<>>;

class JSONValue {
  public:
    JSONValue() = default;  // null
    JSONValue(JSONNull) {}
    JSONValue(JSONNumber number) : storage_(number) {}
    JSONValue(std::string string) : storage_(std::move(string)) {}
    JSONValue(std::shared_ptr<const JSONArray> array);
    JSONValue(std::shared_ptr<const JSONDictionary> dictionary);

    [[nodiscard]] bool isNull() const { return std::holds_alternative<JSONNull>(storage_); }
    [[nodiscard]] bool isNumber() const { return std::holds_alternative<JSONNumber>(storage_); }
    [[nodiscard]] bool isBoolean() const { return isNumber() && std::get<JSONNumber>(storage_).isBoolean; }
    [[nodiscard]] bool isString() const { return std::holds_alternative<std::string>(storage_); }
    [[nodiscard]] bool isArray() const { return std::holds_alternative<ArrayPointer>(storage_); }
    [[nodiscard]] bool isDictionary() const { return std::holds_alternative<DictionaryPointer>(storage_); }

    // Each returns nullptr when the value is of another kind.
    [[nodiscard]] const JSONNumber* asNumber() const { return std::get_if<JSONNumber>(&storage_); }
    [[nodiscard]] const std::string* asString() const { return std::get_if<std::string>(&storage_); }
    [[nodiscard]] const JSONArray* asArray() const;
    [[nodiscard]] const JSONDictionary* asDictionary() const;
    [[nodiscard]] std::shared_ptr<const JSONArray> arrayPointer() const;
    [[nodiscard]] std::shared_ptr<const JSONDictionary> dictionaryPointer() const;

    // Compares contents, not identity: two arrays read from the same text are equal.
    friend bool operator==(const JSONValue& a, const JSONValue& b);

  private:
    using ArrayPointer = std::shared_ptr<const JSONArray>;
    using DictionaryPointer = std::shared_ptr<const JSONDictionary>;
    std::variant<JSONNull, JSONNumber, std::string, ArrayPointer, DictionaryPointer> storage_;
};

// Looks `key` up in `dictionary`; nullptr when it is absent.
[[nodiscard]] const JSONValue* findValue(const JSONDictionary& dictionary, std::string_view key);

}  // namespace quintora
