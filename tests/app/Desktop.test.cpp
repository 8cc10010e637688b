// The game binary itself, headless under the virtual clock and a script: the desktop's own controls
// (pause, sound, practice), and the command lines and resources it refuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/desktop/SoundControl.hpp"
#include "platform/Image.hpp"
#include "platform/UserDefaults.hpp"
#include "support/Files.hpp"
#include "support/GameBinary.hpp"

namespace quintora {
namespace {

namespace fs = std::filesystem;
using Frames = std::vector<long>;

// The frames of a game log's lines ("<frame> <text>") whose text starts with `prefix`.
Frames framesOf(const std::string& log, const std::string& prefix) {
    Frames found;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(line.find(' ') + 1, prefix.size(), prefix) == 0) found.push_back(std::stol(line));
    }
    return found;
}

class Desktop : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(folder_); }
    void TearDown() override { fs::remove_all(folder_); }
    // Runs the game with the script and gives its log; the default start picks stage 8 (eat the gum),
    // which lasts its full five seconds when nobody tilts.
    std::string play(const std::string& script, long frames, const std::string& extra = "") {
        std::ofstream(folder_ / "script.txt") << script;
        const testing::GameRun run = testing::runGame(
            "--headless --virtual-clock --frames " + std::to_string(frames) + " --data-dir " +
            (folder_ / "data").string() + " --script " + (folder_ / "script.txt").string() + " --log " +
            (folder_ / "game.log").string() + " " + extra);
        EXPECT_EQ(run.status, 0) << run.output;
        return testing::readFile(folder_ / "game.log");
    }
    const fs::path folder_ = fs::temp_directory_path() / ("quintora-desktop-" + std::to_string(::getpid()));
};

TEST_F(Desktop, APausedStageCountsNoTimeWhicheverWayItWasPaused) {
    const struct {
        const char *name, *pause, *resume;
    } ways[] = {
        {"Escape, then Resume", "230 key escape\n", "430 alert 0\n"},
        {"P twice", "230 key p\n", "430 key p\n"},
        {"focus lost, and the box answered after it came back", "230 focus lost\n300 focus gained\n",
         "430 alert 0\n"},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        const std::string log = play(std::string("200 tap 150 150\n") + way.pause + way.resume, 470);
        ASSERT_EQ(framesOf(log, "paused"), Frames{230});
        ASSERT_EQ(framesOf(log, "resumed"), Frames{430});
        // The stage's ticks log its time ("0.100000", ...): it goes on from where it stopped, none skipped.
        int count = 0;
        std::istringstream lines(log);
        for (std::string line; std::getline(lines, line);) {
            const std::string text = line.substr(line.find(' ') + 1);
            if (text.size() != 8 || text[1] != '.') continue;
            EXPECT_FALSE(std::stol(line) >= 230 && std::stol(line) < 430) << line;
            EXPECT_EQ(text, std::to_string(0.1 * ++count).substr(0, 8));
        }
        EXPECT_GE(count, 6);
    }
}

TEST_F(Desktop, LeavingAPausedStageBooksNothing) {
    const std::string log = play("200 tap 150 150\n230 key escape\n232 alert 1\n500 tap 150 150\n", 520);
    EXPECT_EQ(framesOf(log, "left the stage"), Frames{232});
    EXPECT_TRUE(framesOf(log, "life = ").empty()) << "no life was taken";
    // The menu came back and the next run starts from nothing.
    EXPECT_EQ(framesOf(log, "totaltime = 0.000000").size(), 2u);
    EXPECT_EQ(framesOf(log, "totaltime = ").size(), 2u);
}

TEST_F(Desktop, MuteAndVolumeAreRememberedAcrossARestart) {
    play("", 2, "--mute");
    EXPECT_EQ(platform::UserDefaults((folder_ / "data").string()).stringForKey(SoundControl::kMutedKey), "1");
    // Unmuted by turning the sound down twice; the next start keeps it.
    play("10 key minus\n11 key minus\n", 20);
    EXPECT_EQ(framesOf(play("10 key plus\n", 20), "sound: on, volume 9 of 10"), Frames{10});
}

TEST_F(Desktop, ASettingsStoreThatCannotBeMadeStillPlays) {
    // A file where the data folder should be: not even root can make the store there.
    std::ofstream(folder_ / "data") << "not a folder";
    // On the menu no stage runs: Escape and P pause nothing. M still mutes.
    const std::string log = play("100 key escape\n101 key p\n102 key m\n110 key plus\n", 120);
    EXPECT_TRUE(framesOf(log, "paused").empty());
    EXPECT_EQ(framesOf(log, "sound: muted"), Frames{102});
    EXPECT_EQ(framesOf(log, "sound: on, volume 10 of 10"), Frames{110});
}

TEST_F(Desktop, APracticeStageBooksNothingAndReturnsToTheGrid) {
    // F2 opens the grid from the menu; Phone number (row two, column two) at the level kept last time.
    EXPECT_TRUE(platform::UserDefaults((folder_ / "data").string()).setObject("3", "PracticeLevel"));
    const std::string log = play("10 key f2\n30 tap 180 172\n420 tap 180 172\n440 quit\n", 450);
    // The second tap found the grid again once the first stage was over.
    EXPECT_EQ(framesOf(log, "practice: stage 6 at level 3"), (Frames{30, 420}));
    EXPECT_FALSE(framesOf(log, "ok").empty()) << "the first stage ran out its time";
    EXPECT_TRUE(framesOf(log, "totaltime = ").empty());
    EXPECT_TRUE(framesOf(log, "life = ").empty());
}

TEST_F(Desktop, AClickOrAKeySkipsTheLogoAndPressesNothingElse) {
    for (const char* skip : {"5 tap 150 150\n", "5 key return\n"}) {
        EXPECT_EQ(framesOf(play(std::string(skip) + "7 tap 150 150\n", 8), "arr = "), Frames{7}) << skip;
    }
}

TEST_F(Desktop, ARunThatTakesNoPlaceStillShowsItsTimeBetweenTheRows) {
    EXPECT_TRUE(platform::UserDefaults((folder_ / "data").string()).setObject("900.0", "Level11"));
    EXPECT_TRUE(platform::UserDefaults((folder_ / "data").string()).setObject("800.0", "Level12"));
    std::string script = "5 key return\n40 tap 150 150\n";
    for (long frame = 100; frame < 2090; frame += 45) script += std::to_string(frame) + " tap 240 160\n";
    const std::string shot = (folder_ / "records.png").string();
    const std::string log = play(script + "2110 screenshot " + shot + "\n", 2111);
    char line[48];
    std::snprintf(line, sizeof line, "This run: %.1f", std::stod(log.substr(log.rfind("totaltime = ") + 12)));
    EXPECT_EQ(framesOf(log, line).size(), 1u) << log;
    const std::optional<platform::Bitmap> picture = platform::decodePng(shot);
    ASSERT_TRUE(picture && picture->width == 480);
    int yellow = 0;  // the time's label, left of the middle between the first level's row and the second's
    for (int i = 0; i < 20 * 160; ++i) {
        const std::uint8_t* pixel =
            &picture->pixels[static_cast<std::size_t>(4 * (480 * (110 + i / 160) + 10 + i % 160))];
        yellow += pixel[0] > 200 && pixel[1] > 180 && pixel[2] < 140 ? 1 : 0;
    }
    EXPECT_GT(yellow, 100);
}

TEST_F(Desktop, BadInputStopsBeforeTheFirstFrame) {
    const std::string shot = (folder_ / "never.png").string();
    std::ofstream(folder_ / "bad.txt") << "1 screenshot " + shot + "\n2 tap 1\n";
    const testing::GameRun badScript =
        testing::runGame("--headless --virtual-clock --frames 3 --script " + (folder_ / "bad.txt").string());
    EXPECT_EQ(badScript.status, 2);
    EXPECT_NE(badScript.output.find("line 2: tap takes 2 numbers"), std::string::npos) << badScript.output;
    EXPECT_FALSE(fs::exists(shot)) << "nothing may run before the script is known to be good";

    const testing::GameRun badOption = testing::runGame("--headless --frame 3");
    EXPECT_EQ(badOption.status, 2);
    EXPECT_NE(badOption.output.find("--frame"), std::string::npos) << badOption.output;
    // Without its resources the game says where it looked.
    const std::string missing = (folder_ / "no-resources").string();
    ::setenv("QUINTORA_RESOURCES", missing.c_str(), 1);
    const testing::GameRun alone = testing::runGame("--headless --frames 1");
    ::unsetenv("QUINTORA_RESOURCES");
    EXPECT_EQ(alone.status, 1);
    EXPECT_NE(alone.output.find("looked in:\n  " + missing + "\n"), std::string::npos) << alone.output;
}

TEST_F(Desktop, WithoutADisplayAWindowedStartPointsToHeadless) {
    if (std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr) {
        GTEST_SKIP() << "a display is there";
    }
    const testing::GameRun noDisplay = testing::runGame("--frames 1");
    EXPECT_EQ(noDisplay.status, 1);
    EXPECT_NE(noDisplay.output.find("--headless"), std::string::npos) << noDisplay.output;
}

}  // namespace
}  // namespace quintora
