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

// A game log, line by line: "<frame> <text>".
struct GameLog {
    std::vector<std::pair<long, std::string>> lines;
    // The frames of the lines that start with `prefix`.
    [[nodiscard]] std::vector<long> frames(const std::string& prefix) const {
        std::vector<long> found;
        for (const auto& [frame, text] : lines)
            if (text.starts_with(prefix)) found.push_back(frame);
        return found;
    }
    [[nodiscard]] bool has(const std::string& prefix) const { return !frames(prefix).empty(); }
};

class Desktop : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(folder_); }
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
            log.lines.emplace_back(std::stol(line.substr(0, space)), line.substr(space + 1));
        }
        return log;
    }
    const fs::path folder_ = fs::temp_directory_path() / ("quintora-desktop-" + std::to_string(::getpid()));
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
        ASSERT_EQ(log.frames("paused"), std::vector<long>{230});
        ASSERT_EQ(log.frames("resumed"), std::vector<long>{430});
        // The stage's ticks log its time ("0.100000", ...): it goes on from where it stopped, none skipped.
        int ticks = 0;
        for (const auto& [frame, text] : log.lines) {
            if (text.size() != 8 || text[1] != '.') continue;
            EXPECT_FALSE(frame >= 230 && frame < 430) << "tick at frame " << frame;
            EXPECT_EQ(text, std::to_string(0.1 * ++ticks).substr(0, 8));
        }
        EXPECT_GE(ticks, 6);
    }
}

TEST_F(Desktop, LeavingAPausedStageBooksNothing) {
    const GameLog log = play("200 tap 150 150\n230 key escape\n232 alert 1\n500 tap 150 150\n", 520);
    EXPECT_EQ(log.frames("left the stage"), std::vector<long>{232});
    EXPECT_FALSE(log.has("life = ")) << "no life was taken";
    // The menu came back and the next run starts from nothing.
    EXPECT_EQ(log.frames("totaltime = 0.000000").size(), 2u);
    EXPECT_EQ(log.frames("totaltime = ").size(), 2u);
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
    EXPECT_EQ(after.frames("sound: on, volume 9 of 10"), std::vector<long>{10});
}

TEST_F(Desktop, ASettingsStoreThatCannotBeMadeStillPlays) {
    // A file where the data folder should be: not even root can make the store there.
    std::ofstream(folder_ / "data") << "not a folder";
    // On the menu no stage runs: Escape and P pause nothing. M still mutes.
    const GameLog log = play("100 key escape\n101 key p\n102 key m\n110 key plus\n", 120);
    EXPECT_FALSE(log.has("paused"));
    EXPECT_TRUE(log.has("sound: muted"));
    EXPECT_TRUE(log.has("sound: on, volume 10 of 10"));
}

TEST_F(Desktop, APracticeStageBooksNothingAndReturnsToTheGrid) {
    // F2 opens the grid from the menu; Phone number (row two, column two) at the level kept last time.
    {
        platform::UserDefaults defaults((folder_ / "data").string());
        defaults.setObject("3", "PracticeLevel");
    }
    const GameLog log = play("10 key f2\n30 tap 180 172\n420 tap 180 172\n440 quit\n", 450);
    // The second tap found the grid again once the first stage was over.
    EXPECT_EQ(log.frames("practice: stage 6 at level 3"), (std::vector<long>{30, 420}));
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
