// Whole runs through the real stages: from a level button of the menu, stage after stage of a chosen
// order, until the fifth loss ends the run on the records screen. The player's script wins the stages it
// knows how to win, waits through the others, and the run's bookkeeping is read back from the log.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/MenuScene.hpp"
#include "app/RecordScene.hpp"
#include "games/Baseball.hpp"
#include "games/Donttouch.hpp"
#include "games/Phonenumber.hpp"
#include "games/TakeTshirts.hpp"
#include "platform/Log.hpp"
#include "platform/UserDefaults.hpp"
#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;
namespace fs = std::filesystem;

constexpr int kTakeTshirts = 4;
constexpr int kBaseball = 5;
constexpr int kPhonenumber = 6;
constexpr int kDonttouch = 13;

struct Played {
    int stage;
    float time;
    bool lost;
};

// A log line's text and the number it ends with, for the lines "<frame> <name> = <value>".
struct LogLine {
    std::string name;
    double value;
};

std::vector<LogLine> readBookkeeping(const fs::path& path) {
    std::vector<LogLine> lines;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        const std::size_t text = line.find(' ');
        if (text == std::string::npos) continue;
        for (const char* name : {"arr", "stage", "totaltime", "life"}) {
            const std::string prefix = std::string(name) + " = ";
            if (line.compare(text + 1, prefix.size(), prefix) == 0) {
                lines.push_back({name, std::stod(line.substr(text + 1 + prefix.size()))});
            }
        }
    }
    return lines;
}

class WholeRunTest : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        platform::setDataDirectory(folder_.string());  // the records screen at the end reads its table here
    }
    void TearDown() override {
        platform::closeLog();
        StageTest::TearDown();
        platform::setDataDirectory("");
    }

    // The menu as the player meets it: the level buttons appear after the logo, and a tap on one starts
    // the run.
    void startRunFromMenu(int level) {
        director().runWithScene(MenuScene::node().get());
        frames(4 * 60);
        const Point buttons[] = {{150, 150}, {200, 90}, {300, 50}};
        const Point button = buttons[level - 1];
        tap(button.x + 2, button.y + 2);
        frame();
    }

    // The player's script for the running stage. Returns the outcome it plays for, when it plays for one.
    static std::optional<bool> playScripted(int stage) {
        switch (stage) {
            case kPhonenumber: {
                auto* phone = layerAs<PhonenumberLayer>();
                EXPECT_NE(phone, nullptr);
                if (phone == nullptr) return std::nullopt;
                for (int k = 0; k < phone->length(); ++k) {
                    const Rect key = phone->keyRect(phone->digitAt(k));
                    tap(key.centre().x, key.centre().y);
                }
                return true;
            }
            case kTakeTshirts: {
                auto* shirts = layerAs<TakeTshirtsLayer>();
                EXPECT_NE(shirts, nullptr);
                if (shirts == nullptr) return std::nullopt;
                while (shirts->taken() < shirts->shirtCount()) {
                    const Rect button = shirts->button(shirts->kindOf(shirts->taken()));
                    tap(button.centre().x, button.centre().y);
                }
                return true;
            }
            case kBaseball:
                EXPECT_NE(layerAs<BaseballLayer>(), nullptr);
                return false;  // standing still: the ball reaches the base
            case kDonttouch:
                EXPECT_NE(layerAs<DonttouchLayer>(), nullptr);
                return true;  // not touching is the task
            default:
                return std::nullopt;  // waits; most stages are lost when the time runs out
        }
    }

    static bool onRecords() {
        Scene* scene = director().runningScene();
        return scene != nullptr && !scene->children().empty() &&
               dynamic_cast<RecordLayer*>(scene->children().front().get()) != nullptr;
    }

    // Plays the run to its end and returns the stages played, in order.
    std::vector<Played> playRun() {
        std::vector<Played> played;
        while (played.size() < 40) {
            Scene* scene = director().runningScene();
            if (scene == nullptr || onRecords()) break;
            const Ref<MiniGameLayer> layer(stageLayer());
            EXPECT_NE(layer.get(), nullptr) << "after " << played.size() << " stages";
            if (layer.get() == nullptr) break;
            const int stage = game().RanStage;
            const int lifeBefore = game().Life;
            const std::optional<bool> aim = playScripted(stage);
            for (int i = 0; i < 20 * 60 && director().runningScene() == scene; ++i) frame();
            EXPECT_NE(director().runningScene(), scene) << "stage " << stage << " never ended";
            const int lost = lifeBefore - game().Life;
            EXPECT_TRUE(lost == 0 || lost == 1) << "stage " << stage;
            if (aim) {
                EXPECT_EQ(lost == 0, *aim) << "stage " << stage;
            }
            played.push_back({stage, layer->currentTime(), lost == 1});
        }
        return played;
    }
};

TEST_F(WholeRunTest, EveryLevelPlaysTheChosenOrderUntilTheFifthLoss) {
    // Per level: the order and where in it the run begins. Each reaches the three stages that the script
    // wins or loses on purpose before the run can end.
    const struct {
        int level, order, start;
    } runs[] = {{1, 3, 0}, {2, 6, 0}, {3, 1, 2}};

    for (const auto& run : runs) {
        SCOPED_TRACE("level " + std::to_string(run.level));
        game().reset();
        game().arrayselect = run.order;
        game().stagenum = run.start;
        const fs::path log = folder_ / ("run-" + std::to_string(run.level) + ".log");
        ASSERT_TRUE(platform::openLog(log.string()));

        startRunFromMenu(run.level);
        EXPECT_EQ(game().SelectLevel, run.level);
        const std::vector<Played> played = playRun();
        platform::closeLog();

        // The run ended on the records screen after its fifth loss.
        EXPECT_TRUE(onRecords());
        EXPECT_EQ(game().Life, 0);
        int losses = 0;
        for (const Played& p : played) losses += p.lost ? 1 : 0;
        EXPECT_EQ(losses, 5);
        ASSERT_FALSE(played.empty());
        EXPECT_TRUE(played.back().lost) << "the fifth loss is the last stage played";
        EXPECT_LT(losses, static_cast<int>(played.size())) << "the script won some stages";

        // The stages followed the chosen order.
        for (std::size_t i = 0; i < played.size(); ++i) {
            EXPECT_EQ(played[i].stage, kStageOrders[run.order - 1][(run.start + i) % 16]) << "stage " << i;
        }

        // Totaltime is the sum of every stage's time, won or lost.
        float sum = 0;
        for (const Played& p : played) sum += p.time;
        EXPECT_FLOAT_EQ(game().Totaltime, sum);

        // The log: each draw names the order and the position, the total so far, and each loss the lives
        // left; the call that ends the run draws one more stage, which is not played.
        const std::vector<LogLine> lines = readBookkeeping(log);
        std::size_t next = 0;
        float total = 0;
        int lives = 5;
        auto expectLine = [&](const std::string& name, double value, double tolerance) {
            ASSERT_LT(next, lines.size()) << "missing " << name;
            EXPECT_EQ(lines[next].name, name) << "line " << next;
            EXPECT_NEAR(lines[next].value, value, tolerance) << name << ", line " << next;
            ++next;
        };
        for (std::size_t i = 0; i <= played.size(); ++i) {
            expectLine("arr", run.order, 0);
            expectLine("stage", static_cast<double>((run.start + i) % 16), 0);
            expectLine("totaltime", total, 1e-5);
            if (i == played.size()) break;
            total += played[i].time;
            if (played[i].lost) expectLine("life", --lives, 0);
        }
        EXPECT_EQ(next, lines.size()) << "nothing after the run's end";
        EXPECT_EQ(game().stagenum, static_cast<int>((run.start + played.size() + 1) % 16));
        director().end();
    }
}

}  // namespace
}  // namespace quintora
