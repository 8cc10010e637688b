#include "app/Options.hpp"

#include <gtest/gtest.h>

namespace quintora {
namespace {

TEST(Options, BadCommandLinesNameTheOption) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"--frames"}, "--frames"},
        {{"--frames", "0"}, "--frames"},
        {{"--scale", "-2"}, "--scale"},
        {{"--scale", "9"}, "--scale"},
        {{"--epoch", "soon"}, "--epoch"},
        {{"--log", ""}, "--log"},
        {{"a.qreplay", "extra"}, "extra"},
        {{"--verify", "-", "--script", "s"}, "--verify"},
    };
    for (const auto& [arguments, named] : cases) {
        const OptionsResult parsed = parseOptions(arguments);
        EXPECT_FALSE(parsed.options) << arguments.front();
        EXPECT_NE(parsed.error.find(named), std::string::npos) << parsed.error;
    }
    EXPECT_TRUE(parseOptions({"--help"}).options->help);
    // A file manager opens a replay by naming it alone.
    EXPECT_EQ(parseOptions({"run.qreplay"}).options->replayPath, "run.qreplay");
}

}  // namespace
}  // namespace quintora
