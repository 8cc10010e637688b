#include "app/Options.hpp"

#include <gtest/gtest.h>

namespace quintora {
namespace {

TEST(Options, EveryOptionIsReadAndTheScaleDependsOnTheWindow) {
    const OptionsResult parsed = parseOptions({"--headless", "--virtual-clock", "--epoch", "1234", "--frames", "90",
                                               "--script", "s.txt", "--log", "-", "--data-dir", "/tmp/d",
                                               "--score-server", "http://127.0.0.1:9/", "--fullscreen"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const Options& o = *parsed.options;
    EXPECT_TRUE(o.headless);
    EXPECT_TRUE(o.virtualClock);
    EXPECT_EQ(o.epoch, 1234);
    EXPECT_EQ(o.frames, 90);
    EXPECT_EQ(o.scriptPath, "s.txt");
    EXPECT_EQ(o.logPath, "-");
    EXPECT_EQ(o.dataDir, "/tmp/d");
    EXPECT_EQ(o.scoreServer, "http://127.0.0.1:9/");
    EXPECT_TRUE(o.fullscreen);
    EXPECT_EQ(o.effectiveScale(), 1);

    const OptionsResult windowed = parseOptions({});
    ASSERT_TRUE(windowed.options);
    EXPECT_EQ(windowed.options->effectiveScale(), 2);
    EXPECT_EQ(windowed.options->epoch, 1230768000);
    EXPECT_EQ(parseOptions({"--scale", "3"}).options->effectiveScale(), 3);
}

TEST(Options, BadCommandLinesNameTheOption) {
    const struct {
        std::vector<std::string> arguments;
        const char* expected;
    } cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--frames"}, "option --frames needs a value"},
        {{"--frames", "0"}, "option --frames: invalid value '0'"},
        {{"--frames", "12x"}, "option --frames: invalid value '12x'"},
        {{"--scale", "-2"}, "option --scale: invalid value '-2'"},
        {{"--epoch", "soon"}, "option --epoch: invalid value 'soon'"},
        {{"--log"}, "option --log needs a value"},
    };
    for (const auto& c : cases) {
        const OptionsResult parsed = parseOptions(c.arguments);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.error, c.expected);
    }
}

}  // namespace
}  // namespace quintora
