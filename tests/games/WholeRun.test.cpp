// Whole runs through the real stages: from a level button of the menu, stage after stage of a chosen
// order, until the fifth loss ends the run on the records screen. The player wins the stages whose
// players are registered for it, waits through the others, and the run's bookkeeping is read back from
// the log.
#include <cstdio>
#include <string>
#include <vector>

#include "app/screens/MenuScene.hpp"
#include "app/screens/RecordScene.hpp"
#include "platform/UserDefaults.hpp"
#include "support/Files.hpp"
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

}  // namespace
}  // namespace quintora::testing
