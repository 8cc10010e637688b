// The JSON reader and writer: values, strings and numbers as the scanner reads them, the error each malformed
// text gets, nesting limits, encodings, the dictionary the deserializer hands to the score client, and
// strings as the writer writes them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TestBytes.hpp"
#include "online/JSONDeserializer.hpp"
#include "online/JSONScanner.hpp"
#include "online/JSONWriter.hpp"

namespace quintora {
namespace {

using test::bytesOf;
using test::encodeUnits;

const std::string kReplacement = "\xEF\xBF\xBD";

std::shared_ptr<const JSONDictionary> read(std::string_view text, JSONError* error = nullptr) {
    return JSONDeserializer::deserializer().deserializeAsDictionary(text, error);
}

// Scans one value from the text, failing the test on an error.
std::optional<JSONValue> valueOf(std::string_view text) {
    JSONScanner scanner(bytesOf(text));
    std::optional<JSONValue> value;
    JSONError error;
    EXPECT_TRUE(scanner.scanJSONObject(&value, &error)) << text << " code " << error.code;
    return value;
}

TEST(JSONScanner, ValuesWordsAndNumbers) {
    const auto number = [](double value) { return JSONValue(JSONNumber{value, false}); };
    const std::pair<std::string, JSONValue> cases[] = {
        // clang-format off
        {"true", JSONValue(JSONNumber::boolean(true))}, {"  false", JSONValue(JSONNumber::boolean(false))},
        {"null", JSONValue(kJSONNull)}, {"truex", JSONValue(JSONNumber::boolean(true))},
        {"\"s\"", JSONValue(std::string("s"))}, {"-12.5", number(-12.5)}, {"1.5e3", number(1500)},
        {"1-2", number(1)}, {"-", number(0)}, {"-.5", number(-0.5)}, {"-1e999", number(-HUGE_VAL)},
        {"0." + std::string(100000, '0') + "1", number(0)}, {"3." + std::string(200000, '3'), number(10.0 / 3.0)},
        // clang-format on
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(valueOf(text), expected) << text.substr(0, 20);
    EXPECT_NE(JSONValue(JSONNumber::boolean(true)), JSONValue(JSONNumber{1.0, false}));

    // A value that starts nothing succeeds with no value and consumes nothing.
    for (const std::string_view text : {"+1", "tru", "x", ""}) {
        JSONScanner scanner(bytesOf(text));
        std::optional<JSONValue> value;
        EXPECT_TRUE(scanner.scanJSONObject(&value)) << text;
        EXPECT_FALSE(value.has_value()) << text;
        EXPECT_EQ(scanner.scanLocation(), 0u) << text;
    }
}

TEST(JSONScanner, StringsDecodeEscapesAndReplaceWhatNamesNoCharacter) {
    const std::pair<std::string_view, std::string> cases[] = {
        // clang-format off
        {R"("x\u0041y")", "xAy"}, {R"("\"\/\\\b\f\n\r\t")", "\"/\\\b\f\n\r\t"},
        {R"("\u00e9\u00E9\u4e2d")", "\xC3\xA9\xC3\xA9\xE4\xB8\xAD"},
        {R"("a\u0000b")", std::string("a\0b", 3)}, {" \n\"a\tb\x01\"", "a\tb\x01"},
        {R"("\ud83d\ude00")", "\xF0\x9F\x98\x80"}, {R"("\ud83d")", kReplacement},
        {R"("\ude00x")", kReplacement + "x"}, {R"("\ud83d\u0041")", kReplacement + "A"},
        {R"("\ud83d\ud83d\ude00")", kReplacement + "\xF0\x9F\x98\x80"},
        {"\"a\xFF" "b\"", "a" + kReplacement + "b"},
        // clang-format on
    };
    for (const auto& [text, expected] : cases) {
        JSONScanner scanner(bytesOf(text));
        std::string string;
        EXPECT_TRUE(scanner.scanJSONStringConstant(&string)) << text;
        EXPECT_EQ(string, expected) << text;
    }
    JSONScanner scanner(bytesOf("ab\xC3\xA9\\c\""));
    std::string run;
    ASSERT_TRUE(scanner.scanNotQuoteCharactersIntoString(&run));
    EXPECT_EQ(run, "ab\xC3\xA9");
    EXPECT_FALSE(scanner.scanNotQuoteCharactersIntoString(&run));
}

// What the writer writes, the reader reads back as the same text; ill-formed UTF-8 comes back as U+FFFD, and
// the written literal is printable ASCII whatever the text holds.
TEST(JSONWriter, StringsReadBackAsTheirTextInPrintableASCII) {
    const std::pair<std::string, std::string> cases[] = {
        // clang-format off
        {"", ""}, {"plain", "plain"}, {"\"\\/", "\"\\/"}, {std::string("a\0b\x1F\x7F", 5), std::string("a\0b\x1F\x7F", 5)},
        {"\xC3\xA9\xE4\xB8\xAD", "\xC3\xA9\xE4\xB8\xAD"}, {"\xF0\x9F\x98\x80!", "\xF0\x9F\x98\x80!"},
        {"a\xFF" "b", "a" + kReplacement + "b"}, {"\xED\xA0\x80", kReplacement},
        {"\xC3", kReplacement}, {"\xE2\x80\xAE" "rtl", "\xE2\x80\xAE" "rtl"},
        // clang-format on
    };
    for (const auto& [text, expected] : cases) {
        std::string json;
        appendJSONString(json, text);
        for (const char c : json) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << json;
        JSONScanner scanner(bytesOf(json));
        std::string read;
        EXPECT_TRUE(scanner.scanJSONStringConstant(&read)) << json;
        EXPECT_EQ(read, expected) << json;
    }
}

// Each malformed text gets the error of the outermost construct that failed, with the scanner put back.
TEST(JSONScanner, EachMalformedTextGetsItsErrorAndLeavesTheScannerWhereItWas) {
    using Scan = bool (*)(JSONScanner&, JSONError*);
    const Scan dictionary = [](JSONScanner& s, JSONError* e) { return s.scanJSONDictionary(nullptr, e); };
    const Scan array = [](JSONScanner& s, JSONError* e) { return s.scanJSONArray(nullptr, e); };
    const Scan string = [](JSONScanner& s, JSONError* e) { return s.scanJSONStringConstant(nullptr, e); };
    const Scan number = [](JSONScanner& s, JSONError* e) { return s.scanJSONNumberConstant(nullptr, e); };
    const Scan value = [](JSONScanner& s, JSONError* e) { return s.scanJSONObject(nullptr, e); };
    const struct {
        Scan scan;
        std::string_view text;
        int code;
    } cases[] = {
        // clang-format off
        {dictionary, "[]", -1}, {dictionary, "{1: 2}", -2}, {dictionary, "{", -2}, {dictionary, "{\"a\" 1}", -3},
        {dictionary, "{\"a\": [}", -4}, {dictionary, "{\"a\": 1 \"b\": 2}", -5}, {dictionary, "{\"a\": 1", -5},
        {array, "{}", -7}, {array, "[", -8}, {array, "[1,,]", -8}, {array, "[{\"a\" 1}]", -8}, {array, "[1 2]", -9},
        {string, "'a'", -11}, {string, R"("\u12G4")", -12}, {string, R"("\ud83d\u12")", -12}, {string, R"("\q")", -13},
        {string, R"("abc)", -15}, {string, R"("abc\)", -15}, {number, "+1", -14}, {value, R"("\q")", -13},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        JSONScanner scanner(bytesOf(c.text));
        JSONError error;
        EXPECT_FALSE(c.scan(scanner, &error));
        EXPECT_EQ(error.code, c.code);
        EXPECT_EQ(error.domain, kJSONScannerErrorDomain);
        EXPECT_EQ(error.localizedDescription, std::string(describeJSONScannerError(error.code)));
        EXPECT_EQ(scanner.scanLocation(), 0u);
        EXPECT_FALSE(c.scan(scanner, nullptr)) << "without an error to fill";
    }
}

// `pairs` arrays each holding a dictionary, alternating, with a number at the bottom.
std::string nested(int pairs) {
    std::string text;
    for (int i = 0; i < pairs; ++i) text += "[{\"k\":";
    text += "0";
    for (int i = 0; i < pairs; ++i) text += "}]";
    return text;
}

TEST(JSONScanner, NestingIsLimitedInDepthNotInCount) {
    const int pairs = kJSONMaximumNestingDepth / 2;
    JSONError error;
    EXPECT_TRUE(JSONScanner(bytesOf(nested(pairs))).scanJSONArray(nullptr, &error)) << error.code;
    std::string deeper = "[";  // built by appending: g++ 12 misreads literal-plus-temporary as an overlap
    deeper += nested(pairs);
    deeper += "]";
    for (const std::string& text : {deeper, "{\"k\":" + nested(pairs) + "}", std::string(600, '[')}) {
        JSONScanner scanner(bytesOf(text));
        EXPECT_FALSE(text[0] == '[' ? scanner.scanJSONArray(nullptr, &error)
                                    : scanner.scanJSONDictionary(nullptr, &error));
        EXPECT_EQ(error.code, kJSONScannerNestingTooDeep);
        EXPECT_EQ(scanner.scanLocation(), 0u);
        // A scan that failed on depth leaves the scanner able to read again.
        scanner.setData(bytesOf(nested(pairs - 1)));
        EXPECT_TRUE(scanner.scanJSONArray(nullptr, &error));
    }
    const std::string deep = nested(pairs - 1);
    std::shared_ptr<const JSONArray> sideBySide;
    ASSERT_TRUE(
        JSONScanner(bytesOf("[" + deep + "," + deep + "," + deep + "]")).scanJSONArray(&sideBySide, &error));
    EXPECT_EQ(sideBySide->size(), 3u);
}

TEST(JSONDeserializer, ReadsTheDictionaryAsTheScoreClientSeesIt) {
    const auto dictionary = read(
        R"({"a": 1.5e3, "list": [1, {"b": "c"}, null, ], "k": 1, "k": 2, "gone": 3, "gone": , } trailing [)");
    ASSERT_NE(dictionary, nullptr);
    EXPECT_EQ(findValue(*dictionary, "a")->asNumber()->value, 1500.0);
    const JSONArray& list = *findValue(*dictionary, "list")->asArray();
    ASSERT_EQ(list.size(), 3u) << "trailing commas are accepted";
    EXPECT_EQ(*findValue(*list[1].asDictionary(), "b")->asString(), "c");
    EXPECT_TRUE(list[2].isNull());
    EXPECT_EQ(findValue(*dictionary, "k")->asNumber()->value, 2.0) << "a repeated key keeps the later value";
    EXPECT_EQ(findValue(*dictionary, "gone"), nullptr) << "a key whose value yields nothing is removed";
    EXPECT_EQ(dictionary->size(), 3u);
    for (const std::string_view text : {"{}", "{ \t\r\n }"}) EXPECT_TRUE(read(text)->empty()) << text;
}

TEST(JSONDeserializer, FailuresCarryTheOutermostError) {
    const std::pair<std::string, int> cases[] = {
        // clang-format off
        {" {}", -1}, {"[]", -1}, {R"({"a": 1 "b": 2})", -5}, {R"({"a": [1 2]})", -4}, {R"({"s": "a\qb"})", -4},
        {"{\"a\":" + std::string(1000000, '['), kJSONScannerNestingTooDeep},
        // clang-format on
    };
    for (const auto& [text, code] : cases) {
        JSONError error;
        EXPECT_EQ(read(text, &error), nullptr) << text.substr(0, 20);
        EXPECT_EQ(error.code, code) << text.substr(0, 20);
        EXPECT_EQ(error.domain, kJSONScannerErrorDomain);
    }
    JSONError error;
    EXPECT_EQ(
        JSONDeserializer::deserializer().deserializeAsDictionary(std::span<const std::uint8_t>(), &error),
        nullptr);
    EXPECT_EQ(error.domain, "JSONDeserializerErrorDomain");
    EXPECT_EQ(error.code, -1);
    EXPECT_FALSE(error.localizedDescription.has_value());
    EXPECT_EQ(read(""), nullptr);

    // Arrays within a dictionary: just within the limit, and one past it.
    const int depth = kJSONMaximumNestingDepth;
    EXPECT_NE(read("{\"a\":" + std::string(depth - 1, '[') + std::string(depth - 1, ']') + "}"), nullptr);
    EXPECT_EQ(read("{\"a\":" + std::string(depth, '[') + std::string(depth, ']') + "}"), nullptr);
    // Every cut of a score list fails cleanly.
    const std::string whole =
        R"({"scores": [{"name": "a\u00e9\"b", "score": -1.25e2, "ok": true}, null], "n": 0})";
    for (std::size_t length = 1; length < whole.size(); ++length) {
        EXPECT_EQ(read(whole.substr(0, length), &error), nullptr) << length;
        EXPECT_EQ(error.domain, kJSONScannerErrorDomain);
    }
    EXPECT_NE(read(whole), nullptr);
}

TEST(JSONScanner, EveryUnicodeEncodingReadsAsUTF8) {
    const std::u32string text = U"[\"Ren\u00e9e \U0001F600\", 61.5]";
    for (const int width : {2, 4}) {
        for (const bool bigEndian : {true, false}) {
            JSONScanner scanner(encodeUnits(text, width, bigEndian));
            EXPECT_EQ(scanner.remainingString(),
                      "[\"Ren\xC3\xA9"
                      "e \xF0\x9F\x98\x80\", 61.5]")
                << width << bigEndian;
            EXPECT_TRUE(scanner.scanJSONArray(nullptr));
        }
    }
}

}  // namespace
}  // namespace quintora
