// The records screen in the running engine, on a real SQLite store in a temporary folder.
#include "app/screens/RecordScene.hpp"

#include <array>
#include <cmath>
#include <functional>
#include <optional>

#include "app/replay/ReplayFiles.hpp"
#include "app/replay/RunRecorder.hpp"
#include "app/screens/MenuScene.hpp"
#include "app/screens/WorldRanking.hpp"
#include "flow/MiniGameLayer.hpp"
#include "platform/Clock.hpp"
#include "records/RecordsTest.hpp"

namespace quintora::testing {
namespace {

namespace fs = std::filesystem;
using Stored = std::optional<std::string>;
using Records = std::array<Stored, 4>;  // best time, best name, second time, second name

Stored value(const std::string& key) {
    return platform::UserDefaults::standardUserDefaults().stringForKey(key);
}
std::array<std::string, 4> keysOf(int level) {
    return {recordKey(level, 1), recordNameKey(level, 1), recordKey(level, 2), recordNameKey(level, 2)};
}
// A level's records as the next start of the game finds them.
Records storedRecords(int level) {
    platform::UserDefaults reopened(platform::dataDirectory());
    Records records;
    for (int i = 0; i < 4; ++i) records[i] = reopened.stringForKey(keysOf(level)[i]);
    return records;
}
// A level's records as the table shows them: names and times of levels 1 to 3 in turn.
std::array<std::string, 4> shownRecords(const RecordLayer& layer, int level) {
    std::array<std::string, 4> shown;
    for (int i = 0; i < 4; ++i) shown[i] = layer.tableLabels().at(4 * (level - 1) + (i ^ 1))->string();
    return shown;
}
std::array<std::string, 4> asShown(const Records& records) {
    std::array<std::string, 4> shown;
    for (int i = 0; i < 4; ++i) shown[i] = records[i].value_or("");
    return shown;
}

class RecordScreen : public RecordsTest {};

// A run's total against the stored best and second of its level: whether it is a record, in which
// place, and what is stored once the name is typed (best time, best name, second time, second name).
TEST_F(RecordScreen, ARunTakesThePlaceItsTimeEarnsAndMovesTheOldBestDown) {
    const struct {
        Records before;
        int level;
        float total;
        int slot;  // the name slot, 0 when the run is no record
        Records after;
        const char* name = "Cy";
    } cases[] = {
        {{}, 2, 12.34f, 3, {"12.3", "Cy", std::nullopt, std::nullopt}},
        {{"30.0", "Ann"}, 1, 31.0f, 1, {"31.0", "Cy", "30.0", "Ann"}},
        {{"30.0", "Ann", "20.5", "Bob"}, 1, 25.0f, 2, {"30.0", "Ann", "25.0", "Cy"}},
        {{"30.0", "Ann", "20.0", "Bob"}, 3, 31.27f, 5, {"31.3", "Cy", "30.0", "Ann"}},
        // Read as whole numbers, 20.5 would be 20 and lose to 20.3, and a best of 20.9 would fall below it.
        {{"30.0", "Ann", "20.5", "Bob"}, 1, 20.3f, 0, {"30.0", "Ann", "20.5", "Bob"}},
        {{"20.9", "Ann", "15.0", "Bob"}, 1, 20.3f, 2, {"20.9", "Ann", "20.3", "Cy"}},
        // An equal time does not displace, however the float sum of the tenths came out.
        {{"30.0", "Ann", "20.3", "Bob"}, 1, std::nextafter(20.3f, 100.0f), 0, {"30.0", "Ann", "20.3", "Bob"}},
        {{"30.0", "Ann", "20.3", "Bob"}, 1, 20.34f, 0, {"30.0", "Ann", "20.3", "Bob"}},
        // A stored time that is no number counts as nothing.
        {{"30.0", "Ann", "fast", "Bob"}, 1, 5.0f, 2, {"30.0", "Ann", "5.0", "Cy"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "level " << c.level << ", run " << c.total << " against " << c.before[0].value_or("-")
                     << " and " << c.before[2].value_or("-"));
        useDataFolder(folder_ / ("data-" + std::to_string(&c - cases)));
        for (int i = 0; i < 4; ++i)
            if (c.before[i]) put(keysOf(c.level)[i], *c.before[i]);
        RecordLayer* layer = openAtEndOfRun(c.level, c.total);
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(layer->isEnteringName(), c.slot != 0);
        EXPECT_EQ(alert(), nullptr);
        if (c.slot != 0) {
            EXPECT_EQ(layer->nameSlot(), c.slot);
            type(c.name);
            pressReturn();
            EXPECT_EQ(game().NamePost, c.name);
            EXPECT_EQ(Keyboard::shared().receiver(), nullptr);
            ASSERT_NE(alert(), nullptr);
            EXPECT_EQ(alert()->message(), "World Ranking Submit?");
            tap(alert()->buttonFrame(1));
        }
        EXPECT_EQ(storedRecords(c.level), c.after);
        EXPECT_EQ(shownRecords(*layer, c.level), asShown(c.after));
        director().end();
    }
}

// Every end of a run shows its time and offers the level again; a blank name is refused, and the name
// saved last is offered at the next record.
TEST_F(RecordScreen, TheEndOfARunShowsItsTimeRefusesABlankNameOffersTheLastOneAndPlaysTheLevelAgain) {
    RecordLayer* layer = openAtEndOfRun(3, 12.0f);
    EXPECT_EQ(layer->name(), "");
    type(" ");
    pressReturn();
    EXPECT_TRUE(layer->isEnteringName() && alert() == nullptr) << "a blank name is refused";
    type("\b");
    type("Ann");
    EXPECT_EQ(layer->nameLabel()->string().substr(0, 4), "Ann|") << "the caret";
    pressReturn();
    tap(alert()->buttonFrame(1));
    layer = openAtEndOfRun(3, 13.0f);
    EXPECT_EQ(layer->name(), "Ann") << "the name saved last";
    pressReturn();
    tap(alert()->buttonFrame(1));
    EXPECT_EQ(storedRecords(3), (Records{"13.0", "Ann", "12.0", "Ann"}));
    layer = openAtEndOfRun(3, 2.5f);
    EXPECT_FALSE(layer->isEnteringName());
    EXPECT_EQ(layer->runTimeLabel()->string(), "This run: 2.5");
    tap(layer->playAgainButtonFrame());
    EXPECT_TRUE(runningSceneChild<MiniGameLayer>() && game().SelectLevel == 3 && game().Life == 5 &&
                game().Totaltime == 0.0f);
    EXPECT_TRUE(openAtEndOfRun(3, 1.5f)->keyPressed(platform::Key::Return)) << "Return plays again too";
}

TEST_F(RecordScreen, FromTheMenuTheTableShowsWithoutNameEntryEachValueCutToOneLine) {
    put("Level11", "30.0");
    put("Level11Name", "Ann\nBob" + std::string(5000, 'x'));
    put("Level21", std::string(3000, '9'));
    game().SelectLevel = 1;
    game().Totaltime = 99.0f;  // would beat everything, were it a run
    game().B_Record = false;
    RecordLayer* layer = open();
    EXPECT_FALSE(layer->isEnteringName());
    EXPECT_EQ(layer->nameLabel(), nullptr);
    EXPECT_EQ(layer->runTimeLabel(), nullptr);
    EXPECT_EQ(Keyboard::shared().receiver(), nullptr);
    EXPECT_EQ(alert(), nullptr);
    ASSERT_EQ(layer->tableLabels().size(), 12u);
    EXPECT_EQ(shownRecords(*layer, 1), asShown({"30.0", "AnnBob" + std::string(18, 'x')}));
    EXPECT_EQ(shownRecords(*layer, 2)[0], std::string(24, '9'));
    EXPECT_EQ(value("Level11Name"), "Ann\nBob" + std::string(5000, 'x')) << "the store is left as it was";
    EXPECT_EQ(value("Level12"), std::nullopt);
    EXPECT_TRUE(layer->keyPressed(platform::Key::Escape));
    frame();
    EXPECT_NE(dynamic_cast<MenuScene*>(director().runningScene()), nullptr);
}

TEST_F(RecordScreen, TheButtonsWaitForTheNameAndTheAlertAndNoStaysWithTheTable) {
    RecordLayer* layer = openAtEndOfRun(1, 10.0f);
    Scene* records = director().runningScene();
    tap(layer->mainMenuButtonFrame());
    tap(layer->worldRankingButtonFrame());
    EXPECT_EQ(director().runningScene(), records) << "a button left the screen during the name entry";
    type("Ann");
    pressReturn();
    tap(layer->mainMenuButtonFrame());
    EXPECT_EQ(director().runningScene(), records) << "the alert is modal";
    CapturedLog log(folder_ / "log.txt");
    tap(alert()->buttonFrame(1));  // No
    EXPECT_EQ(alert(), nullptr);
    EXPECT_FALSE(game().B_wordsumit);
    EXPECT_EQ(log.messages(), std::vector<std::string>{"cancel"});
    tap(layer->mainMenuButtonFrame());
    EXPECT_NE(dynamic_cast<MenuScene*>(director().runningScene()), nullptr);
    // From the menu, the World Ranking button only shows the ranking, whatever an earlier run left.
    game().B_wordsumit = true;
    game().B_Record = false;
    tap(open()->worldRankingButtonFrame());
    EXPECT_NE(dynamic_cast<WorldRankingScene*>(director().runningScene()), nullptr);
    EXPECT_FALSE(game().B_wordsumit);
}

TEST_F(RecordScreen, ClosingTheGameDuringTheNameEntryKeepsEveryTimeWithItsOwnPlayer) {
    put("Level11", "30.0");
    put("Level11Name", "Ann");
    openAtEndOfRun(1, 35.0f);
    type("Cy");
    director().end();  // the window closed before Return
    EXPECT_EQ(Keyboard::shared().receiver(), nullptr) << "the keyboard still feeds a screen that is gone";
    EXPECT_EQ(storedRecords(1), (Records{"35.0", "", "30.0", "Ann"})) << "not Ann's name on Cy's time";
}

// A run that outgrows any of a replay's bounds leaves no replay to keep or post: neither its own nor the
// one of the run before, which would pass for it. The next run is kept again.
TEST_F(RecordScreen, ARunTooLongForAReplayLeavesNoReplayBehind) {
    const struct {
        const char* bound;
        std::function<void(RunRecorder&)> step;
        std::size_t steps;
    } bounds[] = {
        {"frames", [](RunRecorder& r) { r.frameClock(platform::virtualClockMicros()); }, replay::kMaxFrames},
        {"inputs", [](RunRecorder& r) { r.touch(0, 1, 10, 10); }, replay::kMaxInputs},
        {"seeds", [](RunRecorder& r) { r.randomSeeded(7); }, replay::kMaxSeeds},
        {"stages", [](RunRecorder& r) { r.stageBooked(3, true); }, replay::kMaxStages},
    };
    for (const auto& [bound, step, steps] : bounds) {
        SCOPED_TRACE(bound);
        RunRecorder recorder;
        const auto run = [&](std::size_t count) {
            recorder.runStarting(game());
            for (std::size_t i = 0; i < count; ++i) step(recorder);
            recorder.runEnded(game());
        };
        run(steps);
        ASSERT_FALSE(recorder.lastRun().empty()) << "a run that fills a replay exactly is kept";
        EXPECT_EQ(loadDataFile(kLastRunFile), recorder.lastRun());
        run(steps + 1);
        EXPECT_TRUE(recorder.lastRun().empty());
        EXPECT_FALSE(loadDataFile(kLastRunFile));
        run(1);
        EXPECT_EQ(loadDataFile(kLastRunFile), recorder.lastRun());
    }
}

TEST_F(RecordScreen, ADamagedOrUnwritableStoreStillLetsTheRunEndWithATable) {
    fs::create_directories(folder_ / "damaged");
    std::ofstream(folder_ / "damaged" / platform::UserDefaults::fileName) << std::string(4096, '3');
    std::ofstream(folder_ / "blocked") << "a file where the data folder should be";
    for (const fs::path& folder : {folder_ / "damaged", folder_ / "blocked" / "quintora"}) {
        SCOPED_TRACE(folder.string());
        {
            CapturedLog log(folder_ / "log.txt");
            useDataFolder(folder);
            (void)value("Level11");
            EXPECT_EQ(log.messages().size(), 1u);
        }
        RecordLayer* layer = openAtEndOfRun(2, 17.0f);
        ASSERT_TRUE(layer->isEnteringName()) << "an empty table: any run is a record";
        type("Ann");
        pressReturn();
        tap(alert()->buttonFrame(1));
        EXPECT_EQ(shownRecords(*layer, 2)[1], "Ann");
        EXPECT_EQ(value("Level21"), "17.0");
        director().end();
    }
}

}  // namespace
}  // namespace quintora::testing
