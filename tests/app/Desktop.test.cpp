// The desktop game's own controls, run through the game binary: pause, sound, practice, resources.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/SoundControl.hpp"
#include "platform/UserDefaults.hpp"
#include "support/Files.hpp"
#include "support/GameBinary.hpp"

namespace quintora {
namespace {

namespace fs = std::filesystem;

struct LogLine {
    long frame;
    std::string text;
};

// A game log, line by line: "<frame> <text>".
struct GameLog {
    std::vector<LogLine> lines;
    // The frames of the stage's ticks, whose text is its time ("0.100000", ...).
    [[nodiscard]] std::vector<LogLine> ticks() const {
        return matching([](const std::string& t) { return t.size() == 8 && t[1] == '.'; });
    }
    [[nodiscard]] std::vector<LogLine> starting(const std::string& prefix) const {
        return matching([&](const std::string& t) { return t.rfind(prefix, 0) == 0; });
    }
    [[nodiscard]] long frameOf(const std::string& text) const {
        const auto found = matching([&](const std::string& t) { return t == text; });
        return found.empty() ? -1 : found.front().frame;
    }
    [[nodiscard]] bool has(const std::string& prefix) const { return !starting(prefix).empty(); }

    template <class Match>
    [[nodiscard]] std::vector<LogLine> matching(Match match) const {
        std::vector<LogLine> result;
        for (const LogLine& line : lines) {
            if (match(line.text)) result.push_back(line);
        }
        return result;
    }
};

class Desktop : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() / ("quintora-desktop-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    // Runs the game headless under the virtual clock with the script; the default start picks stage 8
    // (eat the gum), which lasts its full five seconds when nobody tilts.
    GameLog play(const std::string& script, long frames, const std::string& extra = "") {
        const fs::path scriptFile = folder_ / "script.txt", logFile = folder_ / "game.log";
        std::ofstream(scriptFile) << script;
        const testing::GameRun run =
            testing::runGame("--headless --virtual-clock --frames " + std::to_string(frames) +
                             " --data-dir " + (folder_ / "data").string() + " --script " +
                             scriptFile.string() + " --log " + logFile.string() + " " + extra);
        EXPECT_EQ(run.status, 0) << run.output;
        GameLog log;
        std::ifstream in(logFile);
        for (std::string line; std::getline(in, line);) {
            const auto space = line.find(' ');
            log.lines.push_back({std::stol(line.substr(0, space)), line.substr(space + 1)});
        }
        return log;
    }
    fs::path folder_;
};

TEST_F(Desktop, APausedStageCountsNoTimeWhicheverWayItWasPaused) {
    const struct {
        const char* name;
        const char* pause;
        const char* resume;
    } ways[] = {
        {"Escape, then Resume", "230 key escape\n", "430 alert 0\n"},
        {"P twice", "230 key p\n", "430 key p\n"},
        {"focus lost, and the box answered after it came back", "230 focus lost\n300 focus gained\n",
         "430 alert 0\n"},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        const GameLog log = play(std::string("200 tap 150 150\n") + way.pause + way.resume, 470);
        const long paused = log.frameOf("paused"), resumed = log.frameOf("resumed");
        ASSERT_EQ(paused, 230);
        ASSERT_EQ(resumed, 430);
        const std::vector<LogLine> ticks = log.ticks();
        ASSERT_GE(ticks.size(), 6u);
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_FALSE(ticks[i].frame >= paused && ticks[i].frame < resumed)
                << "tick at frame " << ticks[i].frame;
            // The stage's time goes on from where it stopped: one tenth per tick, none skipped.
            EXPECT_EQ(ticks[i].text, std::to_string(0.1 * static_cast<double>(i + 1)).substr(0, 8));
        }
    }
}

TEST_F(Desktop, LeavingAPausedStageBooksNothing) {
    const GameLog log = play("200 tap 150 150\n230 key escape\n232 alert 1\n500 tap 150 150\n", 520);
    EXPECT_EQ(log.frameOf("left the stage"), 232);
    EXPECT_FALSE(log.has("life = ")) << "no life was taken";
    // The menu came back and the next run starts from nothing.
    const std::vector<LogLine> totals = log.starting("totaltime = ");
    ASSERT_EQ(totals.size(), 2u);
    for (const LogLine& total : totals) EXPECT_EQ(total.text, "totaltime = 0.000000");
}

TEST_F(Desktop, OutsideAStageEscapeAndPPauseNothing) {
    // On the menu no stage runs: Escape and P pause nothing. M still mutes.
    const GameLog log = play("100 key escape\n101 key p\n102 key m\n", 110);
    EXPECT_FALSE(log.has("paused"));
    EXPECT_TRUE(log.has("sound: muted"));
}

TEST_F(Desktop, MuteAndVolumeAreRememberedAcrossARestart) {
    play("", 2, "--mute");
    {
        platform::UserDefaults defaults((folder_ / "data").string());
        EXPECT_EQ(defaults.stringForKey(SoundControl::kMutedKey), "1");
    }
    // Unmuted by turning the sound down twice; the next start keeps it.
    play("10 key minus\n11 key minus\n", 20);
    const GameLog after = play("10 key plus\n", 20);
    EXPECT_EQ(after.frameOf("sound: on, volume 9 of 10"), 10);
}

TEST_F(Desktop, ASettingsStoreThatCannotBeMadeStillPlays) {
    // A file where the data folder should be: not even root can make the store there.
    std::ofstream(folder_ / "data") << "not a folder";
    const GameLog log = play("10 key m\n20 key plus\n", 30);
    EXPECT_TRUE(log.has("sound: on, volume 10 of 10"));
}

TEST_F(Desktop, APracticeStageBooksNothingAndReturnsToTheGrid) {
    // F2 opens the grid from the menu; Phone number (row two, column two) at the level kept last time.
    {
        platform::UserDefaults defaults((folder_ / "data").string());
        defaults.setObject("3", "PracticeLevel");
    }
    const GameLog log = play("10 key f2\n30 tap 180 172\n420 tap 180 172\n440 quit\n", 450);
    const std::vector<LogLine> starts = log.starting("practice: stage 6 at level 3");
    // The second tap found the grid again once the first stage was over.
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1].frame, 420);
    EXPECT_TRUE(log.has("ok")) << "the first stage ran out its time";
    EXPECT_FALSE(log.has("totaltime = "));
    EXPECT_FALSE(log.has("life = "));
}

TEST_F(Desktop, WithoutItsResourcesTheGameSaysWhereItLookedAndExits1) {
    const std::string missing = (folder_ / "no-resources").string();
    ::setenv("QUINTORA_RESOURCES", missing.c_str(), 1);
    const testing::GameRun alone = testing::runGame("--headless --frames 1");
    ::unsetenv("QUINTORA_RESOURCES");
    EXPECT_EQ(alone.status, 1);
    EXPECT_NE(alone.output.find("looked in:\n  " + missing + "\n"), std::string::npos) << alone.output;
}

}  // namespace
}  // namespace quintora
