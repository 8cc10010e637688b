#include "online/DataScanner.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "TestBytes.hpp"

namespace quintora {
namespace {

using test::bytesOf;

TEST(DataScanner, NumbersTakeTheLeadingDecimalPartWhateverTheLocale) {
    DataScanner scanner = DataScanner::scannerWithData(bytesOf("-2.5e1x"));
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
