#include "app/Script.hpp"

#include <gtest/gtest.h>

namespace quintora {
namespace {

TEST(Script, EveryEventKindInFrameOrderAndFileOrderWithinAFrame) {
    const ScriptResult parsed = parseScript(
        "# a comment line\n"
        "\n"
        "12 touch began 10 20   # trailing comment\n"
        "5 tap 100.5 200\n"
        "12 touch moved 11 21\n"
        "12 touch ended 12 22\n"
        "20 tilt 0.5 -0.25 -1\n"
        "21 text Ana # not a comment inside text\n");
    ASSERT_TRUE(parsed.events) << parsed.error;
    const auto& events = *parsed.events;
    ASSERT_EQ(events.size(), 6u);
    EXPECT_FLOAT_EQ(std::get<script::Tap>(events[0].action).x, 100.5f);
    EXPECT_EQ(std::get<script::Touch>(events[1].action).kind, script::TouchKind::Began);
    EXPECT_EQ(std::get<script::Touch>(events[2].action).kind, script::TouchKind::Moved);
    EXPECT_EQ(std::get<script::Touch>(events[3].action).kind, script::TouchKind::Ended);
    EXPECT_DOUBLE_EQ(std::get<script::Tilt>(events[4].action).y, -0.25);
    EXPECT_EQ(std::get<script::Text>(events[5].action).text, "Ana # not a comment inside text");
    EXPECT_EQ(events[5].line, 8);
}

TEST(Script, MalformedLinesAreRefusedNamingTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 quit\nx tap 1 2\n", "line 2: 'x' is not a frame number"},
        {"3 jump 1 2\n", "line 1: unknown event 'jump'"},
        {"3 tap 1\n", "line 1: tap takes 2 numbers"},
        {"3 tap 1 y\n", "line 1: 'y' is not a number"},
        {"3 touch pressed 1 2\n", "line 1: unknown touch phase 'pressed'"},
        {"3 key space\n", "line 1: unknown key 'space'"},
        {"3 alert -1\n", "line 1: alert index must not be negative"},
        {"3\n", "line 1: missing event"},
        {"3 quit now\n", "line 1: quit takes nothing"},
    };
    for (const auto& [text, expected] : cases) {
        const ScriptResult parsed = parseScript(text);
        EXPECT_FALSE(parsed.events) << text;
        EXPECT_EQ(parsed.error, expected);
    }
    EXPECT_EQ(loadScript("/nonexistent/script.txt").error, "cannot read script /nonexistent/script.txt");
}

}  // namespace
}  // namespace quintora
