#include "online/DataScanner.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "TestBytes.hpp"

namespace quintora {
namespace {

using test::bytesOf;

DataScanner scannerOver(std::string_view text) { return DataScanner::scannerWithData(bytesOf(text)); }

TEST(DataScanner, CharactersLocationAndTheEnd) {
    std::string text = "a\xC3";
    DataScanner scanner = scannerOver(text);
    text = "__";  // the scanner keeps its own copy
    EXPECT_FALSE(scanner.scanCharacter(u'b'));
    EXPECT_TRUE(scanner.scanCharacter(u'a'));
    EXPECT_EQ(scanner.scanCharacter(), char16_t{0xC3});
    EXPECT_TRUE(scanner.isAtEnd());
    EXPECT_EQ(scanner.currentCharacter(), u'\0');
    EXPECT_EQ(scanner.scanCharacter(), u'\0');
    EXPECT_FALSE(scanner.scanCharacter(u'\0'));
    scanner.setScanLocation(99);
    EXPECT_EQ(scanner.scanLocation(), 2u);
    scanner.setData(bytesOf(" \t\n\v\f\rx "));
    scanner.skipWhitespace();
    EXPECT_EQ(scanner.currentCharacter(), u'x');
    EXPECT_TRUE(DataScanner().isAtEnd());
}

TEST(DataScanner, StringsAndSetsAreScannedOnlyWhenTheyMatch) {
    DataScanner scanner = scannerOver("caf\xC3\xA9=1 au lait");
    std::string out = "unchanged";
    EXPECT_FALSE(scanner.scanString("cafe", &out));
    EXPECT_FALSE(scanner.scanUpToString("#", &out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_EQ(scanner.scanLocation(), 0u);
    EXPECT_TRUE(scanner.scanUpToString("=", &out));
    EXPECT_EQ(out, "caf\xC3\xA9");
    EXPECT_TRUE(scanner.scanString("=", &out));
    const CharacterSet digits("0123456789");
    EXPECT_FALSE(scanner.scanUpToCharactersFromSet(digits, &out));
    EXPECT_TRUE(scanner.scanCharactersFromSet(digits, &out));
    EXPECT_EQ(out, "1");
    EXPECT_FALSE(scanner.scanUTF8String(" au lait and more"));
    EXPECT_TRUE(scanner.scanUTF8String(" au", &out));
    EXPECT_TRUE(scanner.scanUpToCharactersFromSet(CharacterSet("!"), &out));
    EXPECT_EQ(out, " lait");
    EXPECT_TRUE(scanner.isAtEnd());

    DataScanner broken = scannerOver("a\xFF" "b");
    EXPECT_TRUE(broken.scanUpToCharactersFromSet(CharacterSet(""), &out));
    EXPECT_EQ(out, "a\xEF\xBF\xBD" "b") << "scanned bytes are decoded with replacement";
}

TEST(DataScanner, NumbersTakeTheLeadingDecimalPartWhateverTheLocale) {
    DataScanner scanner = scannerOver("-2.5e1x");
    double number = 0.0;
    EXPECT_TRUE(scanner.scanNumber(&number));
    EXPECT_EQ(number, -25.0);
    EXPECT_FALSE(scanner.scanNumber(&number));
    DataScanner digitsOnly = scannerOver("12.5");
    digitsOnly.setDoubleCharacters(CharacterSet("0123456789"));
    EXPECT_TRUE(digitsOnly.scanNumber(&number));
    EXPECT_EQ(number, 12.0);

    // A locale with a decimal comma would read "1.5" as 1 through plain strtod.
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    const std::pair<const char*, double> cases[] = {{"1.5", 1.5}, {"1e400", HUGE_VAL}, {"2.5e-400", 0.0},
        {"-7.25e-1-3", -0.725}, {"e5", 0.0}, {".", 0.0}, {"", 0.0}, {"4.9e-324", 4.9e-324}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(convertDecimal(text), expected) << text;
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace quintora
