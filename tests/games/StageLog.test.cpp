// What each stage writes to the log while nobody plays it: most log their time every tick and "ok" at the
// time-out; some stages log neither, or something else in its place.
#include <optional>
#include <regex>

#include "support/Files.hpp"
#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

class StageLogTest : public StageTest {};

TEST_F(StageLogTest, EachStageLogsItsTimeAndTimeOutOnlyWhereItShould) {
    const struct {
        int stage;
        const char* name;
        bool logsTime;
        std::optional<bool> logsOk;  // none where the outcome of an idle stage is not fixed
        const char* alsoLogged;
    } stages[] = {
        {1, "hamburger", true, true, nullptr},        {2, "same picture", true, true, nullptr},
        {3, "sparks", false, std::nullopt, "ballx "}, {4, "t-shirts", false, true, nullptr},
        {5, "base-stealing", false, false, "no"},     {6, "phone number", false, true, nullptr},
        {7, "flying card", true, false, nullptr},     {8, "gum", true, true, "y = "},
        {9, "stop the car", true, false, "speed "},   {10, "plant the trees", true, true, nullptr},
        {11, "difference", true, true, nullptr},      {12, "arithmetic", true, true, nullptr},
        {13, "don't touch", true, true, nullptr},     {14, "golf", true, true, nullptr},
        {15, "follow the way", true, true, nullptr},  {16, "silhouettes", true, true, nullptr},
    };
    const std::regex time(R"(\d+\.\d{6})");
    for (const auto& expected : stages) {
        SCOPED_TRACE(expected.name);
        const CapturedLog log;
        startStage(expected.stage, 1);
        ASSERT_TRUE(runUntilDecided());
        int times = 0;
        bool ok = false;
        bool also = expected.alsoLogged == nullptr;
        for (const std::string& message : log.messages()) {
            times += std::regex_match(message, time) ? 1 : 0;
            ok = ok || message == "ok";
            if (expected.alsoLogged != nullptr) also = also || message.rfind(expected.alsoLogged, 0) == 0;
        }
        EXPECT_EQ(times > 0, expected.logsTime);
        if (expected.logsOk) {
            EXPECT_EQ(ok, *expected.logsOk);
        }
        EXPECT_TRUE(also);
        director().end();
    }
}

}  // namespace
}  // namespace quintora::testing
