// Recorded runs through the game binary: scripted runs keep replays that verify to their times, and a
// replay changed in any way a forger might is refused with the verdict that says why.
#include "replay/Replay.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "support/Files.hpp"
#include "support/GameBinary.hpp"

namespace quintora {
namespace {

namespace fs = std::filesystem;
using replay::Replay;
using Bytes = std::vector<std::uint8_t>;

class ReplayTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(folder_); }
    void TearDown() override { fs::remove_all(folder_); }

    // Plays the script to its frame and gives the replay the game kept of the run, and the run's time as
    // the log wrote it last.
    Bytes play(const std::string& script, long frames, std::string* loggedTime = nullptr) {
        fs::remove_all(folder_ / "data");
        std::ofstream(folder_ / "script.txt") << script;
        const testing::GameRun run =
            testing::runGame("--headless --virtual-clock --frames " + std::to_string(frames) +
                             " --data-dir " + (folder_ / "data").string() + " --script " +
                             (folder_ / "script.txt").string() + " --log " + (folder_ / "game.log").string());
        EXPECT_EQ(run.status, 0) << run.output;
        if (loggedTime != nullptr) {
            std::istringstream log(testing::readFile(folder_ / "game.log"));
            for (std::string line; std::getline(log, line);) {
                if (const auto at = line.find("totaltime = "); at != std::string::npos)
                    *loggedTime = line.substr(at + 12);
            }
        }
        const std::string kept = testing::readFile(folder_ / "data" / "last-run.qreplay");
        return {kept.begin(), kept.end()};
    }

    // The one line --verify prints, and its exit status.
    std::pair<std::string, int> verify(const Bytes& bytes) {
        std::ofstream(folder_ / "run.qreplay", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        const testing::GameRun run = testing::runGame("--verify - < " + (folder_ / "run.qreplay").string());
        return {run.output, run.status};
    }

    const fs::path folder_ = fs::temp_directory_path() / ("quintora-replay-" + std::to_string(::getpid()));
};

std::string field(const std::string& json, const std::string& name) {
    const auto at = json.find("\"" + name + "\":");
    if (at == std::string::npos) return {};
    const auto start = at + name.size() + 3;
    return json.substr(start, json.find_first_of(",}", start) - start);
}

TEST_F(ReplayTest, ScriptedRunsKeepReplaysThatVerifyToTheirTimes) {
    // Each level, with taps, keys, a pause answered in the box, a lost focus and tilts on the way.
    const char* scripts[] = {
        "200 tap 150 150\n",
        "200 tap 200 90\n400 tap 240 160\n500 key escape\n560 alert 0\n700 key 5\n710 key return\n"
        "900 focus lost\n960 focus gained\n1000 alert 0\n",
        "200 tap 300 50\n300 tilt 0.4 -0.2 -0.9\n600 tilt -0.5 0.3 -0.8\n900 tilt 0 0 -1\n1200 key p\n"
        "1300 key p\n1500 touch began 300 100\n1510 touch moved 300 200\n1520 touch ended 300 220\n",
    };
    for (int level = 1; level <= 3; ++level) {
        SCOPED_TRACE(level);
        std::string loggedTime;
        const Bytes kept = play(scripts[level - 1], 4000, &loggedTime);
        ASSERT_FALSE(kept.empty()) << "the finished run was kept";
        const auto [line, status] = verify(kept);
        EXPECT_EQ(status, 0) << line;
        EXPECT_EQ(field(line, "verdict"), "\"verified\"") << line;
        EXPECT_EQ(field(line, "level"), std::to_string(level)) << line;
        char replayed[32];
        std::snprintf(replayed, sizeof replayed, "%f", std::stod(field(line, "time")));
        EXPECT_EQ(replayed, loggedTime) << line;
    }
    // A run left for the menu from the pause box is not kept.
    EXPECT_TRUE(play("200 tap 150 150\n400 key escape\n410 alert 1\n", 500).empty());
}

TEST_F(ReplayTest, AForgedOrBrokenReplayIsRefusedWithItsReason) {
    const Bytes recorded =
        play("200 tap 200 90\n400 tap 240 160\n500 key escape\n560 alert 0\n700 key 5\n", 4000);
    const Replay run = std::get<Replay>(replay::decode(recorded));
    ASSERT_GE(run.inputs.size(), 3u);
    const auto changed = [&](const std::function<void(Replay&)>& change) {
        Replay copy = run;
        change(copy);
        return replay::encode(copy);
    };
    const auto bytes = [&](const std::function<void(Bytes&)>& change) {
        Bytes copy = recorded;
        change(copy);
        return copy;
    };
    const struct {
        const char* forgery;
        Bytes replay;
        const char* verdict;
    } cases[] = {
        {"as recorded", recorded, "verified"},
        {"the pause's key taken out", changed([](Replay& r) {
             for (auto i = r.inputs.begin(); i != r.inputs.end(); ++i) {
                 if (i->kind == replay::InputKind::Key) {
                     r.inputs.erase(i);
                     break;
                 }
             }
         }),
         "mismatch"},
        {"a longer time claimed", changed([](Replay& r) { r.time += 10; }), "mismatch"},
        {"another seed", changed([](Replay& r) { r.seeds.back() += 1; }), "mismatch"},
        {"a frame more after the end", changed([](Replay& r) { r.frameSteps.push_back(16667); }), "mismatch"},
        {"frame times shrunk to a fifth", changed([](Replay& r) {
             for (auto& step : r.frameSteps) step /= 5;
         }),
         "implausible-timing"},
        {"frame times stretched tenfold", changed([](Replay& r) {
             for (auto& step : r.frameSteps) step *= 10;
         }),
         "implausible-timing"},
        {"a negative frame time", changed([](Replay& r) { r.frameSteps[10] = -16667; }),
         "implausible-timing"},
        {"a huge frame time",
         changed([](Replay& r) { r.frameSteps[10] = std::numeric_limits<std::int64_t>::max(); }),
         "implausible-timing"},
        {"a touch at NaN",
         changed([](Replay& r) { r.inputs.front().x = std::numeric_limits<double>::quiet_NaN(); }),
         "invalid"},
        {"an input after the last frame",
         changed([](Replay& r) { r.inputs.back().frame = static_cast<std::uint32_t>(r.frameSteps.size()); }),
         "invalid"},
        {"a stage order that does not exist", changed([](Replay& r) { r.arrayselect = 7; }), "invalid"},
        {"cut short", bytes([](Bytes& b) { b.resize(b.size() / 2); }), "invalid"},
        {"empty", Bytes{}, "invalid"},
        {"a byte flipped in the body", bytes([](Bytes& b) { b[b.size() / 2] ^= 0x40; }), "invalid"},
        {"another build's", changed([](Replay& r) { r.gameVersion = "0.9.0"; }), "other-version"},
        {"another format", bytes([](Bytes& b) { b[4] = 2; }), "other-version"},
        {"larger than a replay may be", Bytes(replay::kMaxFileBytes + 1, 'Q'), "invalid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.forgery);
        const auto [line, status] = verify(c.replay);
        EXPECT_EQ(field(line, "verdict"), std::string("\"") + c.verdict + "\"") << line;
        EXPECT_EQ(status, std::string(c.verdict) == "verified" ? 0 : 1) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << "one line, nothing else: " << line;
    }
}

}  // namespace
}  // namespace quintora
