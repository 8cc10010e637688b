#include "app/automation/Script.hpp"

#include <gtest/gtest.h>

namespace quintora {
namespace {

TEST(Script, MalformedLinesAreRefusedNamingTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 quit\nx tap 1 2\n", "line 2: 'x' is not a frame number"},
        {"3 jump 1 2\n", "line 1: unknown event 'jump'"},
        {"3 tap 1\n", "line 1: tap takes 2 numbers"},
        {"3 tap 1 y\n", "line 1: 'y' is not a number"},
        {"3 touch pressed 1 2\n", "line 1: unknown touch phase 'pressed'"},
        {"3 key tab\n", "line 1: unknown key 'tab'"},
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
