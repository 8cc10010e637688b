#include "app/Options.hpp"

#include <gtest/gtest.h>

namespace quintora {
namespace {

TEST(Options, BadCommandLinesNameTheOption) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--bogus"}, "--bogus"},       {{"--frames"}, "--frames"},         {{"--frames", "0"}, "--frames"},
        {{"--scale", "-2"}, "--scale"}, {{"--scale", "9"}, "--scale"},      {{"--epoch", "soon"}, "--epoch"},
        {{"--log", ""}, "--log"},       {{"--headless", "extra"}, "extra"},
    };
    for (const auto& [arguments, named] : cases) {
        SCOPED_TRACE(arguments.front());
        const OptionsResult parsed = parseOptions(arguments);
        EXPECT_FALSE(parsed.options);
        EXPECT_NE(parsed.error.find(named), std::string::npos) << parsed.error;
    }
    const OptionsResult parsed = parseOptions({"--headless", "--frames", "12", "--scale", "3", "--log", "-"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->frames, 12);
    EXPECT_EQ(parsed.options->effectiveScale(), 3);
    EXPECT_EQ(parsed.options->logPath, "-");
    EXPECT_TRUE(parseOptions({"--help"}).options->help);
}

}  // namespace
}  // namespace quintora
