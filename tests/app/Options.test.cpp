#include "app/Options.hpp"

#include <gtest/gtest.h>

namespace quintora {
namespace {

TEST(Options, EveryOptionIsReadAndTheScaleDependsOnTheWindow) {
    const OptionsResult parsed = parseOptions(
        {"--headless", "--virtual-clock", "--epoch", "1234", "--frames", "90", "--script", "s.txt", "--log",
         "-", "--data-dir", "/tmp/d", "--score-server", "http://127.0.0.1:9/", "--fullscreen"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const Options& o = *parsed.options;
    EXPECT_TRUE(o.headless && o.virtualClock && o.fullscreen);
    EXPECT_EQ(o.epoch, 1234);
    EXPECT_EQ(o.frames, 90);
    EXPECT_EQ(o.scriptPath + o.logPath + o.dataDir + o.scoreServer, "s.txt-/tmp/dhttp://127.0.0.1:9/");
    EXPECT_EQ(o.effectiveScale(), 1);

    const OptionsResult windowed = parseOptions({});
    ASSERT_TRUE(windowed.options);
    EXPECT_EQ(windowed.options->effectiveScale(), 2);
    EXPECT_EQ(windowed.options->epoch, 1230768000);
    EXPECT_EQ(parseOptions({"--scale", "3"}).options->effectiveScale(), 3);
}

TEST(Options, BadCommandLinesNameTheOption) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--frames"}, "option --frames needs a value"},
        {{"--frames", "0"}, "option --frames: invalid value '0'"},
        {{"--frames", "12x"}, "option --frames: invalid value '12x'"},
        {{"--scale", "-2"}, "option --scale: invalid value '-2'"},
        {{"--epoch", "soon"}, "option --epoch: invalid value 'soon'"},
        {{"--log"}, "option --log needs a value"},
    };
    for (const auto& [arguments, expected] : cases) {
        const OptionsResult parsed = parseOptions(arguments);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.error, expected);
    }
}

}  // namespace
}  // namespace quintora
