// The game binary, headless under the virtual clock: a scripted run that ends with a record, the name
// typed at the keyboard, the alert answered, and the record found again by the next start of the game.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Image.hpp"
#include "platform/UserDefaults.hpp"
#include "support/Files.hpp"
#include "support/GLTest.hpp"
#include "support/GameBinary.hpp"

namespace quintora {
namespace {

namespace fs = std::filesystem;

using testing::GameRun;
using testing::readFile;
using testing::runGame;

// The run: Amateur once the menu's buttons are up, then a touch in the middle of the screen every 45
// frames, which loses the stages that must not be touched while the others run out of time. Long after
// the fifth loss the player types a name, and answers the alert with its second button, "No".
constexpr long kNameFrame = 5000;

std::string runScript(const fs::path& folder) {
    std::ostringstream script;
    script << "200 tap 150 150\n";
    for (long frame = 260; frame < kNameFrame - 100; frame += 45) script << frame << " tap 240 160\n";
    script << kNameFrame << " text Ann\n"
           << kNameFrame + 1 << " text ie\n"
           << kNameFrame + 2 << " key backspace\n"
           << kNameFrame + 3 << " text  L.\n"
           << kNameFrame + 5 << " screenshot " << (folder / "name.png").string() << "\n"
           << kNameFrame + 6 << " key return\n"
           << kNameFrame + 8 << " screenshot " << (folder / "alert.png").string() << "\n"
           << kNameFrame + 9 << " alert 1\n"
           << kNameFrame + 10 << " alert 0\n"
           << kNameFrame + 12 << " screenshot " << (folder / "table.png").string() << "\n"
           << kNameFrame + 13 << " quit\n";
    return script.str();
}

// How many pixels of a rectangle of two screenshots differ.
int differingPixels(const platform::Bitmap& a, const platform::Bitmap& b, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (testing::pixelAt(a, x, y) != testing::pixelAt(b, x, y)) ++count;
        }
    }
    return count;
}

class RecordsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("quintora-records-e2e-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name) << text;
        return (folder_ / name).string();
    }
    fs::path folder_;
};

TEST_F(RecordsEndToEnd, ARunEndsWithARecordANameTheAlertAndTheTableAndTheRecordIsThereAfterARestart) {
    const std::string data = (folder_ / "data").string();
    const std::string script = write("run.txt", runScript(folder_));
    const GameRun run = runGame("--headless --virtual-clock --data-dir " + data + " --script " + script + " --log " +
                                (folder_ / "run.log").string());
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string log = readFile(folder_ / "run.log");

    // The run ended, the typed name was taken at Return, "No" was pressed and the second script event
    // found no alert left.
    ASSERT_NE(log.find(" totaltime = "), std::string::npos) << log;
    EXPECT_NE(log.find(std::to_string(kNameFrame + 6) + " Anni L.\n"), std::string::npos) << log;
    EXPECT_NE(log.find(std::to_string(kNameFrame + 9) + " cancel\n"), std::string::npos) << log;
    EXPECT_NE(log.find(std::to_string(kNameFrame + 10) + " script: no alert is shown for button 0\n"),
              std::string::npos)
        << log;
    const std::size_t ended = log.rfind(" totaltime = ");
    EXPECT_EQ(log.find(" ok\n", ended), std::string::npos) << "Yes was never pressed";

    std::string time;
    {
        platform::UserDefaults store(data);
        ASSERT_TRUE(store.stringForKey("Level11").has_value()) << log;
        time = *store.stringForKey("Level11");
        EXPECT_EQ(store.stringForKey("Level11Name"), "Anni L.");
        EXPECT_EQ(store.stringForKey("Level12"), std::nullopt);
    }
    // The time kept is the run's total, as the controller logged it when the run ended.
    const double logged = std::stod(log.substr(ended + 13));
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.1f", logged);
    EXPECT_EQ(time, expected);
    EXPECT_GT(logged, 5.0);

    const auto name = platform::decodePng((folder_ / "name.png").string());
    const auto alert = platform::decodePng((folder_ / "alert.png").string());
    const auto table = platform::decodePng((folder_ / "table.png").string());
    ASSERT_TRUE(name && alert && table);
    // The alert darkens the table around its box; once answered the table is back as it was underneath.
    EXPECT_GT(differingPixels(*alert, *table, 0, 0, 480, 320), 480 * 320 / 2);

    // The next start of the game opens the records from the menu and shows the same table.
    const std::string again = write("again.txt", "200 tap 40 30\n210 screenshot " + (folder_ / "again.png").string() +
                                                     "\n211 quit\n");
    const GameRun second = runGame("--headless --virtual-clock --data-dir " + data + " --script " + again);
    ASSERT_EQ(second.status, 0) << second.output;
    const auto reopened = platform::decodePng((folder_ / "again.png").string());
    ASSERT_TRUE(reopened);
    EXPECT_EQ(differingPixels(*reopened, *table, 0, 0, 480, 320), 0) << "the table differs after a restart";

    // And a game with no records shows an empty table: the name and time cells are where it differs.
    const std::string empty = (folder_ / "empty").string();
    const GameRun fresh = runGame("--headless --virtual-clock --data-dir " + empty + " --script " + again);
    ASSERT_EQ(fresh.status, 0) << fresh.output;
    const auto blank = platform::decodePng((folder_ / "again.png").string());
    ASSERT_TRUE(blank);
    EXPECT_GT(differingPixels(*blank, *table, 40, 225, 140, 255), 50) << "no name in the table";
    EXPECT_GT(differingPixels(*blank, *table, 130, 225, 210, 255), 50) << "no time in the table";
    EXPECT_EQ(differingPixels(*blank, *table, 0, 0, 480, 215), 0) << "the other levels changed";
}

}  // namespace
}  // namespace quintora
