#include "online/DataScanner.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "TestBytes.hpp"

namespace quintora {
namespace {

using test::bytesOf;

DataScanner scannerOver(std::string_view text) { return DataScanner::scannerWithData(bytesOf(text)); }

TEST(DataScanner, StringsAndSetsAreScannedOnlyWhenTheyMatch) {
    std::string text = "caf\xC3\xA9=1 au lait";
    DataScanner scanner = scannerOver(text);
    text = "__";  // the scanner keeps its own copy
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
    EXPECT_EQ(scanner.scanCharacter(), u'\0');
    EXPECT_EQ(scannerOver("x").scanCharacter(), u'x');
    scanner.setScanLocation(99);
    EXPECT_EQ(scanner.scanLocation(), 15u) << "the location stops at the end";

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

    // A locale with a decimal comma would read "1.5" as 1 through plain strtod.
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    const std::pair<const char*, double> cases[] = {
        {"1.5", 1.5}, {"1e400", HUGE_VAL}, {"-7.25e-1-3", -0.725}, {"e5", 0.0}, {"", 0.0}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(convertDecimal(text), expected) << text;
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace quintora
