#include "app/Options.hpp"

#include <gtest/gtest.h>

namespace quintora {
namespace {

TEST(Options, BadCommandLinesNameTheOption) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--frames"}, "option --frames needs a value"},
        {{"--frames", "0"}, "option --frames: invalid value '0'"},
        {{"--scale", "-2"}, "option --scale: invalid value '-2'"},
        {{"--epoch", "soon"}, "option --epoch: invalid value 'soon'"},
    };
    for (const auto& [arguments, expected] : cases) {
        const OptionsResult parsed = parseOptions(arguments);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.error, expected);
    }
}

}  // namespace
}  // namespace quintora
