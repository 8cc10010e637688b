#include "online/JSONScanner.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TestBytes.hpp"

namespace quintora {
namespace {

using test::bytesOf;

JSONScanner scannerOver(std::string_view text) { return JSONScanner(bytesOf(text)); }

// Scans one value and returns it, failing the test on an error.
std::optional<JSONValue> valueOf(std::string_view text) {
    JSONScanner scanner = scannerOver(text);
    std::optional<JSONValue> value;
    JSONError error;
    EXPECT_TRUE(scanner.scanJSONObject(&value, &error)) << text << " code " << error.code;
    return value;
}

std::string stringOf(std::string_view text) {
    JSONScanner scanner = scannerOver(text);
    std::string string;
    JSONError error;
    EXPECT_TRUE(scanner.scanJSONStringConstant(&string, &error)) << text << " code " << error.code;
    return string;
}

// --- values

TEST(JSONScanner, WordsNumbersAndNull) {
    EXPECT_EQ(valueOf("true"), JSONValue(JSONNumber::boolean(true)));
    EXPECT_EQ(valueOf("  false"), JSONValue(JSONNumber::boolean(false)));
    EXPECT_EQ(valueOf("null"), JSONValue(kJSONNull));
    EXPECT_TRUE(valueOf("true")->isBoolean());
    EXPECT_TRUE(valueOf("true")->asNumber()->boolValue());
    EXPECT_EQ(valueOf("-12.5"), JSONValue(JSONNumber{-12.5, false}));
    EXPECT_EQ(valueOf("\"s\""), JSONValue(std::string("s")));
}

TEST(JSONScanner, ValueThatStartsNothingSucceedsWithNoValueAndConsumesNothing) {
    for (const std::string_view text : {"+1", "tru", "nul", "fals", "x", ",", "}", ""}) {
        JSONScanner scanner = scannerOver(text);
        std::optional<JSONValue> value;
        EXPECT_TRUE(scanner.scanJSONObject(&value)) << text;
        EXPECT_FALSE(value.has_value()) << text;
        EXPECT_EQ(scanner.scanLocation(), 0u) << text;
    }
}

TEST(JSONScanner, WordsAreComparedByteByByte) {
    JSONScanner scanner = scannerOver("truex");
    std::optional<JSONValue> value;
    ASSERT_TRUE(scanner.scanJSONObject(&value));
    EXPECT_EQ(value, JSONValue(JSONNumber::boolean(true)));
    EXPECT_EQ(scanner.scanLocation(), 4u);
}

TEST(JSONScanner, NestedValues) {
    const auto value = valueOf(R"([{"a": [null, {"b": "c"}]}, [], {}])");
    ASSERT_TRUE(value && value->isArray());
    const JSONArray& array = *value->asArray();
    ASSERT_EQ(array.size(), 3u);
    const JSONValue* a = findValue(*array[0].asDictionary(), "a");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->asArray()->at(0).isNull());
    EXPECT_EQ(*findValue(*a->asArray()->at(1).asDictionary(), "b")->asString(), "c");
    EXPECT_TRUE(array[1].asArray()->empty());
    EXPECT_TRUE(array[2].asDictionary()->empty());
}

// --- numbers

TEST(JSONScanner, NumbersUseTheirLeadingDecimalPart) {
    EXPECT_EQ(valueOf("1.5e3")->asNumber()->value, 1500.0);
    EXPECT_EQ(valueOf("-0.5")->asNumber()->value, -0.5);
    EXPECT_EQ(valueOf("1-2")->asNumber()->value, 1.0);
    EXPECT_EQ(valueOf("1.2.3")->asNumber()->value, 1.2);
    EXPECT_EQ(valueOf("-")->asNumber()->value, 0.0);
    EXPECT_EQ(valueOf("--5")->asNumber()->value, 0.0);
    EXPECT_EQ(valueOf("-.5")->asNumber()->value, -0.5);
    EXPECT_EQ(valueOf("1e")->asNumber()->value, 1.0);
}

TEST(JSONScanner, NumberRunStopsAtTheFirstOtherByte) {
    JSONScanner scanner = scannerOver("12e-3,");
    double number = 0.0;
    ASSERT_TRUE(scanner.scanJSONNumberConstant(&number));
    EXPECT_DOUBLE_EQ(number, 0.012);
    EXPECT_EQ(scanner.scanLocation(), 5u);
}

TEST(JSONScanner, NumbersOfAnyLength) {
    EXPECT_EQ(valueOf("1" + std::string(300, '0'))->asNumber()->value, 1e300);
    EXPECT_EQ(valueOf("1" + std::string(400, '0'))->asNumber()->value, HUGE_VAL);
    EXPECT_EQ(valueOf("-1e999")->asNumber()->value, -HUGE_VAL);
    EXPECT_EQ(valueOf("0." + std::string(100000, '0') + "1")->asNumber()->value, 0.0);
    EXPECT_EQ(valueOf("3." + std::string(200000, '3'))->asNumber()->value, 10.0 / 3.0);
    EXPECT_EQ(valueOf(std::string(100000, '0') + "7")->asNumber()->value, 7.0);
    const std::string manyDashes(100000, '-');
    EXPECT_EQ(valueOf(manyDashes)->asNumber()->value, 0.0);
}

// --- strings

TEST(JSONScanner, StringEscapes) {
    EXPECT_EQ(stringOf(R"("x\u0041y")"), "xAy");
    EXPECT_EQ(stringOf(R"("\"\/\\")"), "\"/\\");
    EXPECT_EQ(stringOf(R"("\b\f\n\r\t")"), "\b\f\n\r\t");
    EXPECT_EQ(stringOf(R"("\u00e9\u00E9")"), "\xC3\xA9\xC3\xA9");
    EXPECT_EQ(stringOf(R"("\u4e2d")"), "\xE4\xB8\xAD");
    EXPECT_EQ(stringOf(R"("a\u0000b")"), std::string("a\0b", 3));
}

TEST(JSONScanner, StringSkipsWhiteSpaceBeforeItsQuoteAndKeepsRawControlCharacters) {
    EXPECT_EQ(stringOf(" \n\"a\tb\x01\""), "a\tb\x01");
}

TEST(JSONScanner, SurrogatePairBecomesOneCharacter) {
    EXPECT_EQ(stringOf(R"("\ud83d\ude00")"), "\xF0\x9F\x98\x80");
}

TEST(JSONScanner, LoneSurrogatesBecomeReplacementCharacters) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(stringOf(R"("\ud83d")"), replacement);
    EXPECT_EQ(stringOf(R"("\ude00x")"), replacement + "x");
    EXPECT_EQ(stringOf(R"("\ud83dA")"), replacement + "A");
    EXPECT_EQ(stringOf(R"("\ud83d\u0041")"), replacement + "A");
    EXPECT_EQ(stringOf(R"("\ud83d\ud83d\ude00")"), replacement + "\xF0\x9F\x98\x80");
}

TEST(JSONScanner, InvalidUTF8InsideAStringBecomesReplacementCharacters) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(stringOf("\"a\xFF"
                       "b\""),
              "a" + replacement + "b");
    EXPECT_EQ(stringOf("\"\xC3\""), replacement);
    EXPECT_EQ(stringOf("\"\xED\xA0\x80\""), replacement + replacement + replacement);
    EXPECT_EQ(stringOf("\"\xE4\xB8\""), replacement);
    EXPECT_EQ(stringOf("\"\xC0\xAF\""), replacement + replacement);
}

TEST(JSONScanner, NotQuoteCharactersStopAtQuoteOrBackslash) {
    JSONScanner scanner = scannerOver("ab\xC3\xA9\\c\"");
    std::string run;
    ASSERT_TRUE(scanner.scanNotQuoteCharactersIntoString(&run));
    EXPECT_EQ(run, "ab\xC3\xA9");
    EXPECT_EQ(scanner.scanLocation(), 4u);
    EXPECT_FALSE(scanner.scanNotQuoteCharactersIntoString(&run));
}

// --- errors, each reached through the operation that reports it

struct ErrorCase {
    std::string_view text;
    int code;
};

JSONError errorOf(std::string_view text, int (*scan)(JSONScanner&, JSONError*)) {
    JSONScanner scanner = scannerOver(text);
    JSONError error;
    EXPECT_EQ(scan(scanner, &error), 0) << text;
    EXPECT_EQ(scanner.scanLocation(), 0u) << "location not restored for " << text;
    EXPECT_EQ(error.domain, kJSONScannerErrorDomain);
    EXPECT_EQ(error.localizedDescription, std::string(describeJSONScannerError(error.code)));
    return error;
}

int scanDictionary(JSONScanner& s, JSONError* e) { return s.scanJSONDictionary(nullptr, e); }
int scanArray(JSONScanner& s, JSONError* e) { return s.scanJSONArray(nullptr, e); }
int scanString(JSONScanner& s, JSONError* e) { return s.scanJSONStringConstant(nullptr, e); }
int scanNumber(JSONScanner& s, JSONError* e) { return s.scanJSONNumberConstant(nullptr, e); }

TEST(JSONScanner, DictionaryErrors) {
    const ErrorCase cases[] = {
        {" {}", -1},
        {"[]", -1},
        {"{1: 2}", -2},
        {"{'a': 2}", -2},
        {"{", -2},
        {"{\"a\": 1,", -2},
        {"{\"a\" 1}", -3},
        {"{\"a\"", -3},
        {"{\"a\": [}", -4},
        {"{\"a\": \"\\x\"}", -4},
        {"{\"a\": 1 \"b\": 2}", -5},
        {"{\"a\": 1", -5},
        {"{\"a\": +1}", -5},
        {"{\"a\": x}", -5},
    };
    for (const auto& [text, code] : cases) {
        EXPECT_EQ(errorOf(text, scanDictionary).code, code) << text;
    }
}

TEST(JSONScanner, ArrayErrors) {
    const ErrorCase cases[] = {
        {"{}", -7},    {" []", -7},   {"[", -8},     {"[,]", -8}, {"[1,,]", -8},       {"[x]", -8},
        {"[tru]", -8}, {"['a']", -8}, {"[1 2]", -9}, {"[1", -9},  {"[{\"a\" 1}]", -8},
    };
    for (const auto& [text, code] : cases) {
        EXPECT_EQ(errorOf(text, scanArray).code, code) << text;
    }
    EXPECT_EQ(std::string(describeJSONScannerError(-7)),
              "Could not scan array. Array that does not start with '[' character.");
    EXPECT_EQ(std::string(describeJSONScannerError(-8)), "Could not scan array. Could not scan a value.");
}

TEST(JSONScanner, StringErrors) {
    const ErrorCase cases[] = {
        {"'a'", -11},
        {"a", -11},
        {"", -11},
        {R"("\u12")", -12},
        {R"("\u12G4")", -12},
        {R"("\u)", -12},
        {R"("\ud83d\u12")", -12},
        {R"("\q")", -13},
        {R"("\a")", -13},
        {R"("\U0041")", -13},
        {R"("abc)", -15},
        {R"("abc\)", -15},
        {"\"", -15},
    };
    for (const auto& [text, code] : cases) {
        EXPECT_EQ(errorOf(text, scanString).code, code) << text;
    }
    EXPECT_EQ(std::string(describeJSONScannerError(-11)),
              "Could not scan string constant. String not started by a '\"' character.");
    EXPECT_EQ(std::string(describeJSONScannerError(-12)),
              "Could not scan string constant. Unicode character could not be decoded.");
    EXPECT_EQ(std::string(describeJSONScannerError(-13)),
              "Could not scan string constant. Unknown escape code.");
    EXPECT_EQ(std::string(describeJSONScannerError(-15)),
              "Could not scan string constant. String not terminated by a '\"' character.");
}

TEST(JSONScanner, NumberError) {
    for (const std::string_view text : {"", "x", "+1", " 1"}) {
        EXPECT_EQ(errorOf(text, scanNumber).code, -14) << text;
    }
    EXPECT_EQ(std::string(describeJSONScannerError(-14)), "Could not scan number constant.");
}

TEST(JSONScanner, ValueReportsItsPartsErrorUnchanged) {
    JSONScanner scanner = scannerOver(R"("\q")");
    JSONError error;
    EXPECT_FALSE(scanner.scanJSONObject(nullptr, &error));
    EXPECT_EQ(error.code, -13);
}

TEST(JSONScanner, OutermostFailingConstructWritesTheError) {
    JSONScanner scanner = scannerOver(R"([[{"a": "\q"}]])");
    JSONError error;
    EXPECT_FALSE(scanner.scanJSONArray(nullptr, &error));
    EXPECT_EQ(error.code, -8);
}

TEST(JSONScanner, ClosingCharacterChecksCannotBeReachedByAnyText) {
    // Both loops only end while standing on their closing character, so the final checks (-6 and -10)
    // never fire; every way a dictionary or array can end early is reported by another code. This walks
    // every text of up to four characters from the bytes that matter and checks that claim.
    const std::string alphabet = "{}[]\",:1 ";
    std::string text;
    int seen = 0;
    const auto check = [&](const std::string& t) {
        JSONScanner dictionaryScanner = scannerOver(t);
        JSONError error;
        if (!dictionaryScanner.scanJSONDictionary(nullptr, &error)) {
            EXPECT_NE(error.code, -6) << t;
        }
        JSONScanner arrayScanner = scannerOver(t);
        if (!arrayScanner.scanJSONArray(nullptr, &error)) {
            EXPECT_NE(error.code, -10) << t;
        }
        ++seen;
    };
    for (const char a : alphabet) {
        for (const char b : alphabet) {
            for (const char c : alphabet) {
                for (const char d : alphabet) {
                    check(std::string{'{', a, b, c, d});
                    check(std::string{'[', a, b, c, d});
                }
            }
        }
    }
    EXPECT_EQ(seen, 2 * 9 * 9 * 9 * 9);
    EXPECT_EQ(std::string(describeJSONScannerError(-6)),
              "Could not scan dictionary. Dictionary not terminated by a '}' character.");
    EXPECT_EQ(std::string(describeJSONScannerError(-10)),
              "Could not scan array. Array not terminated by a ']' character.");
}

TEST(JSONScanner, NoErrorObjectWithoutAnErrorPointer) {
    JSONScanner scanner = scannerOver("[1 2]");
    EXPECT_FALSE(scanner.scanJSONArray(nullptr, nullptr));
    std::shared_ptr<const JSONArray> array;
    EXPECT_FALSE(scanner.scanJSONArray(&array));
    EXPECT_EQ(array, nullptr);
}

// --- nesting

// `pairs` arrays each holding a dictionary, alternating, with a number at the bottom.
std::string nested(int pairs) {
    std::string text;
    for (int i = 0; i < pairs; ++i) {
        text += "[{\"k\":";
    }
    text += "0";
    for (int i = 0; i < pairs; ++i) {
        text += "}]";
    }
    return text;
}

TEST(JSONScanner, NestingLimitCountsArraysAndDictionariesTogether) {
    const int pairs = kJSONMaximumNestingDepth / 2;
    JSONError error;
    JSONScanner atLimit = scannerOver(nested(pairs));
    EXPECT_TRUE(atLimit.scanJSONArray(nullptr, &error)) << error.code;

    // Built by appending: g++ 12 misreads the literal-plus-temporary form as an overlapping copy.
    std::string deeperText = "[";
    deeperText += nested(pairs);
    deeperText += "]";
    JSONScanner deeper = scannerOver(deeperText);
    EXPECT_FALSE(deeper.scanJSONArray(nullptr, &error));
    EXPECT_EQ(error.code, kJSONScannerNestingTooDeep);
    EXPECT_EQ(deeper.scanLocation(), 0u);

    std::string dictionaryText = "{\"k\":";
    dictionaryText += nested(pairs);
    dictionaryText += "}";
    JSONScanner deeperDictionary = scannerOver(dictionaryText);
    EXPECT_FALSE(deeperDictionary.scanJSONDictionary(nullptr, &error));
    EXPECT_EQ(error.code, kJSONScannerNestingTooDeep);
}

TEST(JSONScanner, NestingLimitIsOnDepthNotOnCount) {
    const std::string deep = nested(kJSONMaximumNestingDepth / 2 - 1);
    JSONScanner sideBySide = scannerOver("[" + deep + "," + deep + "," + deep + "]");
    std::shared_ptr<const JSONArray> array;
    JSONError error;
    ASSERT_TRUE(sideBySide.scanJSONArray(&array, &error)) << error.code;
    EXPECT_EQ(array->size(), 3u);

    // A scan that failed on depth leaves the scanner able to read again.
    JSONScanner scanner = scannerOver(std::string(600, '['));
    EXPECT_FALSE(scanner.scanJSONArray(nullptr, &error));
    EXPECT_EQ(error.code, kJSONScannerNestingTooDeep);
    scanner.setData(bytesOf(deep));
    EXPECT_TRUE(scanner.scanJSONArray(nullptr, &error)) << error.code;
}

// --- encodings

TEST(JSONScanner, SetDataReencodesAndRewinds) {
    JSONScanner scanner = scannerOver("[1]");
    scanner.setScanLocation(2);
    const auto utf16 = test::encodeUnits(U"[\"\u00e9\"]", 2, false);
    scanner.setData(utf16);
    EXPECT_EQ(scanner.scanLocation(), 0u);
    EXPECT_EQ(scanner.remainingString(), "[\"\xC3\xA9\"]");
}

}  // namespace
}  // namespace quintora
