// The game binary itself, headless, under the virtual clock and a script.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Image.hpp"
#include "support/Files.hpp"
#include "support/GameBinary.hpp"

namespace quintora {
namespace {

namespace fs = std::filesystem;

using testing::GameRun;
using testing::readFile;
using testing::runGame;

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(folder_); }
    void TearDown() override { fs::remove_all(folder_); }
    std::string write(const std::string& name, const std::string& text) {
        const fs::path path = folder_ / name;
        std::ofstream(path) << text;
        return path.string();
    }
    const fs::path folder_ = fs::temp_directory_path() / ("quintora-e2e-" + std::to_string(::getpid()));
};

TEST_F(EndToEnd, AWholeRunToTheRecordsGivesTheSameLogEveryTime) {
    // Legend from the menu at 1230768008, when the clock picks the sixth order; then a touch now and then
    // in the middle of the screen until the run is over.
    std::string lines = "200 tap 300 50\n";
    for (int frame = 400; frame < 3600; frame += 97) lines += std::to_string(frame) + " tap 240 160\n";
    const std::string script = write("run.txt", lines);
    const std::string arguments = "--headless --virtual-clock --epoch 1230768005 --frames 3600 --data-dir " +
                                  (folder_ / "data").string() + " --script " + script + " --log ";
    for (const char* name : {"first.log", "second.log"}) {
        const GameRun run = runGame(arguments + (folder_ / name).string());
        ASSERT_EQ(run.status, 0) << run.output;
    }
    const std::string log = readFile(folder_ / "first.log");
    EXPECT_EQ(log, readFile(folder_ / "second.log"));
    EXPECT_NE(log.find("200 Yes sound go 1\n200 arr = 6\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" life = 0\n"), std::string::npos) << "the run reached its end";
}

TEST_F(EndToEnd, ScaleAndFrameLimitAreHonoured) {
    const std::string shot = (folder_ / "shot.png").string();
    const std::string script = write("run.txt", "3 screenshot " + shot + "\n");
    for (const auto& [scale, width] : {std::pair{"1", 480}, std::pair{"2", 960}}) {
        const GameRun run = runGame(std::string("--headless --virtual-clock --frames 5 --scale ") + scale + " --script " + script);
        ASSERT_EQ(run.status, 0) << run.output;
        const auto image = platform::decodePng(shot);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, width);
        EXPECT_EQ(image->height, width * 2 / 3);
    }
}

TEST_F(EndToEnd, BadInputStopsBeforeTheFirstFrame) {
    const std::string shot = (folder_ / "never.png").string();
    const std::string script = write("bad.txt", "1 screenshot " + shot + "\n2 tap 1\n");
    const GameRun badScript = runGame("--headless --virtual-clock --frames 3 --script " + script);
    EXPECT_EQ(badScript.status, 2);
    EXPECT_NE(badScript.output.find("line 2: tap takes 2 numbers"), std::string::npos) << badScript.output;
    EXPECT_FALSE(fs::exists(shot)) << "nothing may run before the script is known to be good";

    const GameRun badOption = runGame("--headless --frame 3");
    EXPECT_EQ(badOption.status, 2);
    EXPECT_NE(badOption.output.find("unknown option '--frame'"), std::string::npos) << badOption.output;

    const GameRun noDisplay = runGame("--frames 1");  // the test environment has no display
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        EXPECT_EQ(noDisplay.status, 1);
        EXPECT_NE(noDisplay.output.find("--headless"), std::string::npos) << noDisplay.output;
    }
}

}  // namespace
}  // namespace quintora
