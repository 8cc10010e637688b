// Whole runs through the real stages: from a level button of the menu, stage after stage of a chosen
// order, until the fifth loss ends the run on the records screen. The player wins the stages whose
// players are registered for it, waits through the others, and the run's bookkeeping is read back from
// the log.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/replay/RunRecorder.hpp"
#include "app/screens/MenuScene.hpp"
#include "app/screens/RecordScene.hpp"
#include "platform/UserDefaults.hpp"
#include "support/Files.hpp"
#include "support/GameBinary.hpp"
#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

struct Played {
    int stage;
    float time;
    bool lost;
};

class WholeRunTest : public StageTest {
  public:
    void SetUp() override {
        StageTest::SetUp();
        platform::setDataDirectory(folder_.string());  // the records screen at the end reads its table here
    }
    void TearDown() override {
        StageTest::TearDown();
        platform::setDataDirectory("");
    }

    static bool onRecords() {
        Scene* scene = director().runningScene();
        return scene != nullptr && !scene->children().empty() &&
               dynamic_cast<RecordLayer*>(scene->children().front().get()) != nullptr;
    }

    // Plays the run to its end: every third stage to win, the others left alone.
    std::vector<Played> playRun(int level) {
        std::vector<Played> played;
        while (played.size() < 40 && !onRecords()) {
            Scene* scene = director().runningScene();
            const Ref<MiniGameLayer> layer(stageLayer());
            if (layer.get() == nullptr) break;
            const int stage = game().RanStage, lifeBefore = game().Life;
            setTilt(0, 0);
            if (played.size() % 3 == 0) stagePlayer(stage).win(*this, level);
            for (int i = 0; i < 20 * 60 && director().runningScene() == scene; ++i) tiltFrames(1);
            EXPECT_NE(director().runningScene(), scene) << "stage " << stage << " never ended";
            EXPECT_LE(lifeBefore - game().Life, 1);
            played.push_back({stage, layer->currentTime(), game().Life < lifeBefore});
        }
        return played;
    }
};

TEST_F(WholeRunTest, EveryLevelPlaysTheChosenOrderUntilTheFifthLossAndLogsItsBookkeeping) {
    const struct { int level, order, start; } runs[] = {{1, 3, 0}, {2, 6, 0}, {3, 1, 2}};
    for (const auto& run : runs) {
        SCOPED_TRACE("level " + std::to_string(run.level));
        game().reset();
        game().arrayselect = run.order;
        game().stagenum = run.start;
        CapturedLog log;
        // The menu as the player meets it: the level buttons appear after the logo.
        director().runWithScene(MenuScene::node().get());
        frames(4 * 60);
        const Point buttons[] = {{152, 152}, {202, 92}, {302, 52}};
        tap(buttons[run.level - 1].x, buttons[run.level - 1].y);
        frame();
        EXPECT_EQ(game().SelectLevel, run.level);
        const std::vector<Played> played = playRun(run.level);

        EXPECT_TRUE(onRecords());
        EXPECT_EQ(game().Life, 0);
        ASSERT_FALSE(played.empty());
        EXPECT_TRUE(played.back().lost) << "the fifth loss is the last stage played";
        int losses = 0;
        float sum = 0;
        for (std::size_t i = 0; i < played.size(); ++i) {
            EXPECT_EQ(played[i].stage, kStageOrders[run.order - 1][(run.start + i) % 16]) << "stage " << i;
            EXPECT_TRUE(i % 3 != 0 || !played[i].lost) << "stage " << played[i].stage << " was played to win";
            losses += played[i].lost ? 1 : 0;
            sum += played[i].time;
        }
        EXPECT_EQ(losses, 5);
        EXPECT_FLOAT_EQ(game().Totaltime, sum);

        // Each draw names the order, the position and the total so far, and each loss the lives left;
        // the call that ends the run draws one more stage, which is not played.
        std::vector<std::string> expected;
        float total = 0;
        int lives = 5;
        char line[64];
        for (std::size_t i = 0; i <= played.size(); ++i) {
            std::snprintf(line, sizeof line, "totaltime = %f", static_cast<double>(total));
            const std::string draw[] = {"arr = " + std::to_string(run.order),
                                        "stage = " + std::to_string((run.start + i) % 16), line};
            expected.insert(expected.end(), std::begin(draw), std::end(draw));
            if (i == played.size()) break;
            total += played[i].time;
            if (played[i].lost) expected.push_back("life = " + std::to_string(--lives));
        }
        std::vector<std::string> bookkeeping;
        for (const std::string& message : log.messages()) {
            for (const char* name : {"arr = ", "stage = ", "totaltime = ", "life = "}) {
                if (message.rfind(name, 0) == 0) bookkeeping.push_back(message);
            }
        }
        EXPECT_EQ(bookkeeping, expected);
        director().end();
    }
}

// A run played here is recorded as the game records one, and the game binary re-plays it to the same end.
// The players win the first stages (QUINTORA_RECORDED_RUN_WINS of them, 8 unless set: bench/verify.sh
// asks for a long run this way and keeps its replay at QUINTORA_KEEP_REPLAY), then lose until the end.
TEST_F(WholeRunTest, ARunPlayedWithItsInputsRecordedVerifiesThroughTheGame) {
    const char* wanted = std::getenv("QUINTORA_RECORDED_RUN_WINS");
    const int wins = wanted != nullptr ? std::atoi(wanted) : 8;
    RunRecorder recorder;
    setRunObserver(&recorder);
    recordInto(&recorder);
    game().reset();
    director().runWithScene(MenuScene::node().get());
    frames(4 * 60);
    tap(152, 152);
    int won = 0, played = 0;
    while (!onRecords() && played < wins + 40) {
        Scene* scene = director().runningScene();
        if (stageLayer() == nullptr) break;
        const int stage = game().RanStage;
        setTilt(0, 0);
        if (won < wins) {
            stagePlayer(stage).win(*this, 1);
        } else {
            stagePlayer(stage).lose(*this, 1);
        }
        for (int i = 0; i < 20 * 60 && director().runningScene() == scene; ++i) tiltFrames(1);
        won += game().win ? 1 : 0;
        ++played;
    }
    setRunObserver(nullptr);
    recordInto(nullptr);
    ASSERT_TRUE(onRecords());
    const std::vector<std::uint8_t>& run = recorder.lastRun();
    ASSERT_FALSE(run.empty());
    const char* keep = std::getenv("QUINTORA_KEEP_REPLAY");
    const std::filesystem::path file = keep != nullptr ? keep : (folder_ / "recorded.qreplay").string();
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(run.data()), static_cast<std::streamsize>(run.size()));
    EXPECT_GE(won, wins) << "the players win their stages";
    const GameRun verified = runGame("--verify " + file.string());
    EXPECT_EQ(verified.status, 0) << verified.output;
    char expected[160];
    std::snprintf(expected, sizeof expected,
                  "{\"verdict\":\"verified\",\"level\":1,\"time\":%.9g,\"stages\":%d,\"wins\":%d,",
                  static_cast<double>(game().Totaltime), played, won);
    EXPECT_EQ(verified.output.rfind(expected, 0), 0u) << verified.output << "\nexpected " << expected;
}

}  // namespace
}  // namespace quintora::testing
