#include "online/DataScanner.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "TestBytes.hpp"

namespace quintora {
namespace {

using test::bytesOf;

DataScanner scannerOver(std::string_view text) { return DataScanner::scannerWithData(bytesOf(text)); }

TEST(DataScanner, LocationAndEnd) {
    DataScanner scanner = scannerOver("ab");
    EXPECT_EQ(scanner.length(), 2u);
    EXPECT_EQ(scanner.scanLocation(), 0u);
    EXPECT_FALSE(scanner.isAtEnd());
    scanner.setScanLocation(2);
    EXPECT_TRUE(scanner.isAtEnd());
    scanner.setScanLocation(99);
    EXPECT_EQ(scanner.scanLocation(), 2u);
    EXPECT_TRUE(DataScanner().isAtEnd());
}

TEST(DataScanner, CharactersAndTheEndOfTheText) {
    DataScanner scanner = scannerOver("a\xC3");
    EXPECT_EQ(scanner.currentCharacter(), u'a');
    EXPECT_FALSE(scanner.scanCharacter(u'b'));
    EXPECT_TRUE(scanner.scanCharacter(u'a'));
    EXPECT_EQ(scanner.scanCharacter(), char16_t{0xC3});
    EXPECT_TRUE(scanner.isAtEnd());
    EXPECT_EQ(scanner.currentCharacter(), u'\0');
    EXPECT_EQ(scanner.scanCharacter(), u'\0');
    EXPECT_FALSE(scanner.scanCharacter(u'\0'));
    EXPECT_EQ(scanner.scanLocation(), 2u);
}

TEST(DataScanner, SetDataKeepsItsOwnCopyAndRewinds) {
    std::string text = "xyz";
    DataScanner scanner = scannerOver(text);
    scanner.setScanLocation(1);
    text = "___";
    EXPECT_EQ(scanner.remainingString(), "yz");
    scanner.setData(bytesOf("hello"));
    EXPECT_EQ(scanner.scanLocation(), 0u);
    EXPECT_EQ(scanner.remainingString(), "hello");
    EXPECT_EQ(scanner.data().size(), 5u);
}

TEST(DataScanner, ScanStrings) {
    DataScanner scanner = scannerOver("caf\xC3\xA9 au lait");
    std::string out;
    EXPECT_FALSE(scanner.scanString("cafe", &out));
    EXPECT_TRUE(scanner.scanString("caf\xC3\xA9", &out));
    EXPECT_EQ(out, "caf\xC3\xA9");
    EXPECT_FALSE(scanner.scanUTF8String(" au lait and more"));
    EXPECT_FALSE(scanner.scanUTF8String(nullptr));
    EXPECT_TRUE(scanner.scanUTF8String(" au", &out));
    EXPECT_EQ(out, " au");
    EXPECT_TRUE(scanner.scanString(" lait"));
    EXPECT_TRUE(scanner.isAtEnd());
    EXPECT_FALSE(scanner.scanString("x"));
}

TEST(DataScanner, ScanUpToString) {
    DataScanner scanner = scannerOver("key=value");
    std::string out = "unchanged";
    EXPECT_FALSE(scanner.scanUpToString("#", &out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_EQ(scanner.scanLocation(), 0u);
    EXPECT_TRUE(scanner.scanUpToString("=", &out));
    EXPECT_EQ(out, "key");
    EXPECT_TRUE(scanner.scanUpToString("=", &out));
    EXPECT_EQ(out, "");
    EXPECT_EQ(scanner.scanLocation(), 3u);
}

TEST(DataScanner, ScanSets) {
    const CharacterSet letters("abcdefghijklmnopqrstuvwxyz");
    DataScanner scanner = scannerOver("abc123def");
    std::string out;
    EXPECT_FALSE(scanner.scanUpToCharactersFromSet(letters, &out));
    EXPECT_EQ(scanner.scanLocation(), 0u);
    EXPECT_TRUE(scanner.scanCharactersFromSet(letters, &out));
    EXPECT_EQ(out, "abc");
    EXPECT_FALSE(scanner.scanCharactersFromSet(letters, &out));
    EXPECT_EQ(out, "abc");
    EXPECT_TRUE(scanner.scanUpToCharactersFromSet(letters, &out));
    EXPECT_EQ(out, "123");
    EXPECT_TRUE(scanner.scanUpToCharactersFromSet(CharacterSet("!"), &out));
    EXPECT_EQ(out, "def");
    EXPECT_TRUE(scanner.isAtEnd());
}

TEST(DataScanner, ScannedBytesAreDecodedWithReplacement) {
    DataScanner scanner = scannerOver(
        "a\xFF"
        "b");
    std::string out;
    EXPECT_TRUE(scanner.scanUpToCharactersFromSet(CharacterSet(""), &out));
    EXPECT_EQ(out,
              "a\xEF\xBF\xBD"
              "b");
}

TEST(DataScanner, SkipWhitespace) {
    DataScanner scanner = scannerOver(" \t\n\v\f\rx ");
    scanner.skipWhitespace();
    EXPECT_EQ(scanner.currentCharacter(), u'x');
    EXPECT_TRUE(scanner.scanCharacter(u'x'));
    scanner.skipWhitespace();
    EXPECT_TRUE(scanner.isAtEnd());
    scanner.skipWhitespace();
    EXPECT_TRUE(scanner.isAtEnd());
}

TEST(DataScanner, ScanNumber) {
    DataScanner scanner = scannerOver("-2.5e1x");
    double number = 0.0;
    EXPECT_TRUE(scanner.scanNumber(&number));
    EXPECT_EQ(number, -25.0);
    EXPECT_EQ(scanner.currentCharacter(), u'x');
    EXPECT_FALSE(scanner.scanNumber(&number));
    EXPECT_EQ(number, -25.0);

    DataScanner digitsOnly = scannerOver("12.5");
    digitsOnly.setDoubleCharacters(CharacterSet("0123456789"));
    EXPECT_TRUE(digitsOnly.scanNumber(&number));
    EXPECT_EQ(number, 12.0);
}

TEST(DataScanner, NumberConversionIgnoresTheProcessLocale) {
    // A locale with a decimal comma would read "1.5" as 1 through plain strtod.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    const bool haveCommaLocale =
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    EXPECT_EQ(convertDecimal("1.5"), 1.5);
    EXPECT_EQ(convertDecimal("1e400"), HUGE_VAL);
    EXPECT_EQ(convertDecimal("2.5e-400"), 0.0);
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!haveCommaLocale) {
        GTEST_LOG_(INFO) << "no decimal-comma locale installed; checked in the C locale only";
    }
}

TEST(DataScanner, ConvertDecimalTakesTheLeadingPart) {
    EXPECT_EQ(convertDecimal("7"), 7.0);
    EXPECT_EQ(convertDecimal("-7.25e-1-3"), -0.725);
    EXPECT_EQ(convertDecimal("e5"), 0.0);
    EXPECT_EQ(convertDecimal("."), 0.0);
    EXPECT_EQ(convertDecimal(""), 0.0);
    EXPECT_EQ(convertDecimal("4.9e-324"), 4.9e-324);
}

}  // namespace
}  // namespace quintora
