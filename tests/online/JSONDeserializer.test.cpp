#include "online/JSONDeserializer.hpp"

#include <gtest/gtest.h>

#include <string>

#include "TestBytes.hpp"
#include "online/JSONScanner.hpp"

namespace quintora {
namespace {

using test::bytesOf;
using test::encodeUnits;

std::shared_ptr<const JSONDictionary> read(std::string_view text, JSONError* error = nullptr) {
    return JSONDeserializer::deserializer().deserializeAsDictionary(text, error);
}

JSONError failure(std::string_view text) {
    JSONError error;
    EXPECT_EQ(read(text, &error), nullptr) << text;
    return error;
}

double numberAt(const JSONDictionary& dictionary, std::string_view key) {
    const JSONValue* value = findValue(dictionary, key);
    EXPECT_NE(value, nullptr) << key;
    if (value == nullptr || value->asNumber() == nullptr) {
        ADD_FAILURE() << key << " is not a number";
        return 0.0;
    }
    return value->asNumber()->value;
}

TEST(JSONDeserializer, EmptyDictionaryWithAndWithoutBlanks) {
    for (const std::string_view text : {"{}", "{ }", "{ \t\r\n }", "{\n}"}) {
        const auto dictionary = read(text);
        ASSERT_NE(dictionary, nullptr) << text;
        EXPECT_TRUE(dictionary->empty()) << text;
    }
}

TEST(JSONDeserializer, BlankBeforeTheBraceFailsWithDictionaryNotStarted) {
    const JSONError error = failure(" {}");
    EXPECT_EQ(error.domain, kJSONScannerErrorDomain);
    EXPECT_EQ(error.code, -1);
    EXPECT_EQ(error.localizedDescription,
              "Could not scan dictionary. Dictionary that does not start with '{' character.");
}

TEST(JSONDeserializer, EmptyDataFailsWithTheDeserializerDomainAndNoDescription) {
    JSONError error;
    EXPECT_EQ(
        JSONDeserializer::deserializer().deserializeAsDictionary(std::span<const std::uint8_t>(), &error),
        nullptr);
    EXPECT_EQ(error.domain, kJSONDeserializerErrorDomain);
    EXPECT_EQ(error.domain, "JSONDeserializerErrorDomain");
    EXPECT_EQ(error.code, -1);
    EXPECT_FALSE(error.localizedDescription.has_value());
}

TEST(JSONDeserializer, FailureWithoutAnErrorPointerStillReturnsNothing) {
    EXPECT_EQ(read("[]"), nullptr);
    EXPECT_EQ(read(""), nullptr);
}

TEST(JSONDeserializer, TrailingCommasAreAccepted) {
    const auto dictionary = read(R"({"a": 1, "list": [1, 2, ], })");
    ASSERT_NE(dictionary, nullptr);
    EXPECT_EQ(numberAt(*dictionary, "a"), 1.0);
    const JSONArray* list = findValue(*dictionary, "list")->asArray();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->size(), 2u);
}

TEST(JSONDeserializer, MissingCommaBetweenPairsFailsWithMinusFive) {
    const JSONError error = failure(R"({"a": 1 "b": 2})");
    EXPECT_EQ(error.code, -5);
    EXPECT_EQ(error.localizedDescription,
              "Could not scan dictionary. Key value pairs not delimited with a ',' character.");
}

TEST(JSONDeserializer, MissingCommaBetweenArrayValuesIsSeenAsTheDictionaryValueFailing) {
    const JSONError error = failure(R"({"a": [1 2]})");
    EXPECT_EQ(error.code, -4);

    JSONScanner scanner(bytesOf("[1 2]"));
    JSONError arrayError;
    EXPECT_FALSE(scanner.scanJSONArray(nullptr, &arrayError));
    EXPECT_EQ(arrayError.code, -9);
    EXPECT_EQ(arrayError.localizedDescription,
              "Could not scan array. Array not terminated by a ']' character.");
}

TEST(JSONDeserializer, NumbersBecomeDoubles) {
    const auto dictionary = read(R"({"big": 1.5e3, "small": -0.5, "whole": 42, "capital": 2E2})");
    ASSERT_NE(dictionary, nullptr);
    EXPECT_EQ(numberAt(*dictionary, "big"), 1500.0);
    EXPECT_EQ(numberAt(*dictionary, "small"), -0.5);
    EXPECT_EQ(numberAt(*dictionary, "whole"), 42.0);
    EXPECT_EQ(numberAt(*dictionary, "capital"), 200.0);
    EXPECT_FALSE(findValue(*dictionary, "big")->isBoolean());
}

TEST(JSONDeserializer, PlusSignStartsNoValue) {
    // The value yields nothing and consumes nothing, so the '+' then stands where a ',' should be.
    EXPECT_EQ(failure(R"({"a": +1})").code, -5);
}

TEST(JSONDeserializer, EscapesInsideStrings) {
    const auto dictionary = read(R"({"s": "x\u0041y", "all": "\"\\\/\b\f\n\r\t"})");
    ASSERT_NE(dictionary, nullptr);
    EXPECT_EQ(*findValue(*dictionary, "s")->asString(), "xAy");
    EXPECT_EQ(*findValue(*dictionary, "all")->asString(), "\"\\/\b\f\n\r\t");
}

TEST(JSONDeserializer, UnknownEscapeIsSeenThroughTheDictionaryAsMinusFour) {
    const JSONError error = failure(R"({"s": "a\qb"})");
    EXPECT_EQ(error.domain, kJSONScannerErrorDomain);
    EXPECT_EQ(error.code, -4);
    EXPECT_EQ(error.localizedDescription, "Could not scan dictionary. Failed to scan a value.");
}

TEST(JSONDeserializer, RepeatedKeyKeepsTheLaterValue) {
    const auto dictionary = read(R"({"k": 1, "k": 2})");
    ASSERT_NE(dictionary, nullptr);
    EXPECT_EQ(dictionary->size(), 1u);
    EXPECT_EQ(numberAt(*dictionary, "k"), 2.0);
}

TEST(JSONDeserializer, KeyWithAValueThatYieldsNothingIsRemoved) {
    const auto dictionary = read(R"({"k": 1, "k": })");
    ASSERT_NE(dictionary, nullptr);
    EXPECT_TRUE(dictionary->empty());
}

TEST(JSONDeserializer, TextAfterTheClosingBraceIsIgnored) {
    const auto dictionary = read(R"({"a": true} trailing [garbage)");
    ASSERT_NE(dictionary, nullptr);
    EXPECT_TRUE(findValue(*dictionary, "a")->isBoolean());
}

TEST(JSONDeserializer, ScoreListInUTF32BigEndian) {
    const std::u32string text = U"{\"scores\": [{\"name\": \"Ren\u00e9e \U0001F600\", \"score\": 61.5}]}";
    JSONError error;
    const auto bytes = encodeUnits(text, 4, true);
    const auto dictionary = JSONDeserializer::deserializer().deserializeAsDictionary(bytes, &error);
    ASSERT_NE(dictionary, nullptr) << error.code;
    const JSONArray* scores = findValue(*dictionary, "scores")->asArray();
    ASSERT_NE(scores, nullptr);
    ASSERT_EQ(scores->size(), 1u);
    const JSONDictionary* entry = (*scores)[0].asDictionary();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(*findValue(*entry, "name")->asString(),
              "Ren\xC3\xA9"
              "e \xF0\x9F\x98\x80");
    EXPECT_EQ(numberAt(*entry, "score"), 61.5);
}

TEST(JSONDeserializer, EveryUnicodeEncodingReadsTheSameDictionary) {
    const std::u32string text = U"{\"k\u00e9y\": [\"\u4e2d\U0001D11E\", 3, null, false]}";
    const auto expected = read("{\"k\xC3\xA9y\": [\"\xE4\xB8\xAD\xF0\x9D\x84\x9E\", 3, null, false]}");
    ASSERT_NE(expected, nullptr);
    for (const int width : {2, 4}) {
        for (const bool bigEndian : {true, false}) {
            const auto bytes = encodeUnits(text, width, bigEndian);
            JSONError error;
            const auto dictionary = JSONDeserializer::deserializer().deserializeAsDictionary(bytes, &error);
            ASSERT_NE(dictionary, nullptr) << width << bigEndian << " code " << error.code;
            EXPECT_EQ(*dictionary, *expected) << width << bigEndian;
        }
    }
}

TEST(JSONDeserializer, NestingUpToTheLimitIsRead) {
    const int depth = kJSONMaximumNestingDepth;
    const std::string text = "{\"a\":" + std::string(depth - 1, '[') + std::string(depth - 1, ']') + "}";
    const auto dictionary = read(text);
    ASSERT_NE(dictionary, nullptr);
    const JSONValue* value = findValue(*dictionary, "a");
    int levels = 1;  // the dictionary
    while (value->isArray()) {
        ++levels;
        if (value->asArray()->empty()) {
            break;
        }
        value = &value->asArray()->front();
    }
    EXPECT_EQ(levels, depth);
}

TEST(JSONDeserializer, NestingPastTheLimitFailsWithItsOwnError) {
    const int depth = kJSONMaximumNestingDepth + 1;
    const std::string text = "{\"a\":" + std::string(depth - 1, '[') + std::string(depth - 1, ']') + "}";
    const JSONError error = failure(text);
    EXPECT_EQ(error.domain, kJSONScannerErrorDomain);
    EXPECT_EQ(error.code, kJSONScannerNestingTooDeep);
    EXPECT_EQ(error.localizedDescription,
              "Could not scan JSON. Arrays and dictionaries nested more than 512 deep.");
}

TEST(JSONDeserializer, HostileNestingDoesNotExhaustTheStack) {
    std::string text = "{\"a\":";
    for (int i = 0; i < 200000; ++i) {
        text += "{\"a\":[";
    }
    EXPECT_EQ(failure(text).code, kJSONScannerNestingTooDeep);
    EXPECT_EQ(failure("{\"a\":" + std::string(1000000, '[')).code, kJSONScannerNestingTooDeep);
}

TEST(JSONDeserializer, TruncatedTextFailsCleanly) {
    const std::string whole =
        R"({"scores": [{"name": "a\u00e9\"b", "score": -1.25e2, "ok": true}, null], "n": 0})";
    for (std::size_t length = 1; length < whole.size(); ++length) {
        JSONError error;
        EXPECT_EQ(read(whole.substr(0, length), &error), nullptr) << length;
        EXPECT_EQ(error.domain, kJSONScannerErrorDomain);
        EXPECT_LT(error.code, 0);
    }
    EXPECT_NE(read(whole), nullptr);
}

}  // namespace
}  // namespace quintora
