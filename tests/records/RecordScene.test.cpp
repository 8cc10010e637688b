// The records screen in the running engine, on a real SQLite store in a temporary folder.
#include "app/RecordScene.hpp"

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <regex>

#include "app/MenuScene.hpp"
#include "app/ScoreServerHost.hpp"
#include "app/WorldRanking.hpp"
#include "records/RecordsTest.hpp"

namespace quintora::testing {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> value(const std::string& key) { return platform::UserDefaults::standardUserDefaults().stringForKey(key); }

// What the table shows, by key.
std::map<std::string, std::string> tableOf(const RecordLayer& layer) {
    static const char* keys[] = {"Level11Name", "Level11", "Level12Name", "Level12", "Level21Name", "Level21",
                                 "Level22Name", "Level22", "Level31Name", "Level31", "Level32Name", "Level32"};
    std::map<std::string, std::string> shown;
    for (std::size_t i = 0; i < layer.tableLabels().size() && i < std::size(keys); ++i) {
        shown[keys[i]] = layer.tableLabels()[i]->string();
    }
    return shown;
}

// Time text

TEST(RecordText, IsWrittenAsPrintfWritesOneDecimal) {
    EXPECT_EQ(recordText(24.93f), "24.9");
    EXPECT_EQ(recordText(12.34f), "12.3");
    EXPECT_EQ(recordText(0.0f), "0.0");
    EXPECT_EQ(recordText(25.0f), "25.0");
    // Every total a run can add up to, in tenths as the stages count, the same as "%.1f".
    float total = 0;
    for (int tick = 0; tick < 5000; ++tick) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%.1f", static_cast<double>(total));
        ASSERT_EQ(recordText(total), expected) << tick;
        total = static_cast<float>(static_cast<double>(total) + 0.1);
    }
}

TEST(RecordValue, ReadsTheDecimalItWasWrittenAs) {
    EXPECT_DOUBLE_EQ(recordValue(std::string("24.9")), 24.9);
    EXPECT_DOUBLE_EQ(recordValue(std::string("20.5")), 20.5);
    EXPECT_DOUBLE_EQ(recordValue(std::string("  12.5")), 12.5);
    EXPECT_DOUBLE_EQ(recordValue(std::string("12.5 s")), 12.5);
    EXPECT_DOUBLE_EQ(recordValue(std::string("+3.0")), 3.0);
    EXPECT_DOUBLE_EQ(recordValue(std::nullopt), 0);
    EXPECT_DOUBLE_EQ(recordValue(std::string("")), 0);
    EXPECT_DOUBLE_EQ(recordValue(std::string("fast")), 0);
    EXPECT_DOUBLE_EQ(recordValue(std::string("nan")), 0);
    EXPECT_DOUBLE_EQ(recordValue(std::string("inf")), 0) << "an unbeatable record is no record";
}

TEST(RecordKeys, FollowTheLevelAndPlace) {
    EXPECT_EQ(recordKey(1, 1), "Level11");
    EXPECT_EQ(recordKey(3, 2), "Level32");
    EXPECT_EQ(recordNameKey(2, 1), "Level21Name");
}

// The end of a run

class RecordScreen : public RecordsTest {};

TEST_F(RecordScreen, AFirstRunAtLevelTwoIsTheBestAndTakesTheTypedName) {
    RecordLayer* layer = openAtEndOfRun(2, 12.34f);
    ASSERT_NE(layer, nullptr);
    EXPECT_TRUE(layer->isEnteringName());
    EXPECT_EQ(layer->nameSlot(), 3);
    // The time is kept before the name is typed.
    EXPECT_EQ(value("Level21"), "12.3");
    EXPECT_TRUE(layer->tableLabels().empty()) << "the table waits for the name";

    type("Ann");
    pressReturn();
    EXPECT_FALSE(layer->isEnteringName());
    EXPECT_EQ(value("Level21"), "12.3");
    EXPECT_EQ(value("Level21Name"), "Ann");
    EXPECT_EQ(value("Level22"), std::nullopt) << "the absent old best moves down as absent";
    EXPECT_EQ(value("Level22Name"), std::nullopt);
    for (const char* key : {"Level11", "Level11Name", "Level12", "Level31", "Level32Name"}) {
        EXPECT_EQ(value(key), std::nullopt) << key;
    }
    EXPECT_EQ(game().NamePost, "Ann");
    EXPECT_EQ(Keyboard::shared().receiver(), nullptr);

    ASSERT_NE(alert(), nullptr);
    EXPECT_EQ(alert()->title(), "New Record");
    EXPECT_EQ(alert()->message(), "World Ranking Submit?");
    EXPECT_EQ(alert()->buttonTitleAtIndex(0), "Yes");
    EXPECT_EQ(alert()->buttonTitleAtIndex(1), "No");

    const auto table = tableOf(*layer);
    EXPECT_EQ(table.at("Level21Name"), "Ann");
    EXPECT_EQ(table.at("Level21"), "12.3");
    EXPECT_EQ(table.at("Level22"), "");
}

TEST_F(RecordScreen, ARunBetweenTheTwoBecomesSecondAndTheOldSecondIsGone) {
    put("Level11", "30.0");
    put("Level11Name", "Ann");
    put("Level12", "20.5");
    put("Level12Name", "Bob");
    RecordLayer* layer = openAtEndOfRun(1, 25.0f);
    ASSERT_TRUE(layer->isEnteringName());
    EXPECT_EQ(layer->nameSlot(), 2);
    type("Cy");
    pressReturn();
    EXPECT_EQ(value("Level11"), "30.0");
    EXPECT_EQ(value("Level11Name"), "Ann");
    EXPECT_EQ(value("Level12"), "25.0");
    EXPECT_EQ(value("Level12Name"), "Cy");
}

TEST_F(RecordScreen, ANewBestMovesTheOldBestsTimeAndNameDown) {
    put("Level31", "30.0");
    put("Level31Name", "Ann");
    put("Level32", "20.0");
    put("Level32Name", "Bob");
    RecordLayer* layer = openAtEndOfRun(3, 31.27f);
    ASSERT_TRUE(layer->isEnteringName());
    EXPECT_EQ(layer->nameSlot(), 5);
    type("Dee");
    pressReturn();
    EXPECT_EQ(value("Level31"), "31.3");
    EXPECT_EQ(value("Level31Name"), "Dee");
    EXPECT_EQ(value("Level32"), "30.0");
    EXPECT_EQ(value("Level32Name"), "Ann");
    const auto table = tableOf(*layer);
    EXPECT_EQ(table.at("Level31Name"), "Dee");
    EXPECT_EQ(table.at("Level32Name"), "Ann");
    EXPECT_EQ(table.at("Level32"), "30.0");
}

TEST_F(RecordScreen, ARunJustShortOfAStoredDecimalDoesNotDisplaceIt) {
    // Read as whole numbers, 20.5 would be 20 and lose to 20.3.
    put("Level11", "30.0");
    put("Level12", "20.5");
    put("Level12Name", "Bob");
    RecordLayer* layer = openAtEndOfRun(1, 20.3f);
    EXPECT_FALSE(layer->isEnteringName());
    EXPECT_EQ(Keyboard::shared().receiver(), nullptr);
    EXPECT_EQ(alert(), nullptr);
    EXPECT_EQ(value("Level12"), "20.5");
    EXPECT_EQ(value("Level12Name"), "Bob");
    EXPECT_EQ(tableOf(*layer).at("Level12"), "20.5");
}

TEST_F(RecordScreen, ARunOfTheWholeNumberBelowAStoredDecimalDoesNotDisplaceIt) {
    put("Level11", "30.0");
    put("Level12", "20.5");
    RecordLayer* layer = openAtEndOfRun(1, 20.0f);
    EXPECT_FALSE(layer->isEnteringName());
    EXPECT_EQ(value("Level12"), "20.5");
}

TEST_F(RecordScreen, AStoredBestAboveTheRunStaysBestAndTheRunTakesSecondPlace) {
    // Read as whole numbers, the best 20.9 would be 20 and fall below a run of 20.3.
    put("Level11", "20.9");
    put("Level11Name", "Ann");
    put("Level12", "15.0");
    put("Level12Name", "Bob");
    RecordLayer* layer = openAtEndOfRun(1, 20.3f);
    ASSERT_TRUE(layer->isEnteringName());
    EXPECT_EQ(layer->nameSlot(), 2);
    type("Cy");
    pressReturn();
    EXPECT_EQ(value("Level11"), "20.9");
    EXPECT_EQ(value("Level11Name"), "Ann");
    EXPECT_EQ(value("Level12"), "20.3");
    EXPECT_EQ(value("Level12Name"), "Cy");
}

TEST_F(RecordScreen, ARunAboveAStoredDecimalStillDisplacesIt) {
    put("Level21", "30.0");
    put("Level22", "20.5");
    RecordLayer* layer = openAtEndOfRun(2, 20.6f);
    EXPECT_TRUE(layer->isEnteringName());
    EXPECT_EQ(value("Level22"), "20.6");
}

TEST_F(RecordScreen, AnEqualRunDoesNotDisplaceHoweverItsFloatSumCameOut) {
    put("Level11", "30.0");
    put("Level12", "20.3");
    put("Level12Name", "Bob");
    // The stages add up their tenths in floats: the same 20.3 s may come out a hair above or below.
    for (float total : {20.3f, std::nextafter(20.3f, 100.0f), std::nextafter(20.3f, 0.0f), 20.26f, 20.34f}) {
        SCOPED_TRACE(total);
        RecordLayer* layer = openAtEndOfRun(1, total);
        EXPECT_FALSE(layer->isEnteringName());
        EXPECT_EQ(value("Level12"), "20.3");
        EXPECT_EQ(value("Level12Name"), "Bob");
    }
    put("Level11", "30.0");
    put("Level12", "20.5");
    RecordLayer* equal = openAtEndOfRun(1, 20.5f);
    EXPECT_FALSE(equal->isEnteringName()) << "an equal time does not displace";
}

TEST_F(RecordScreen, AStoredTimeThatIsNotANumberCountsAsNothingAndIsShownAsStored) {
    put("Level11", "30.0");
    put("Level12", "fast");
    put("Level12Name", "Bob");
    RecordLayer* fromMenu = openFromMenu();
    EXPECT_EQ(tableOf(*fromMenu).at("Level12"), "fast");

    RecordLayer* layer = openAtEndOfRun(1, 5.0f);
    ASSERT_TRUE(layer->isEnteringName());
    EXPECT_EQ(layer->nameSlot(), 2);
    EXPECT_EQ(value("Level12"), "5.0");
}

TEST_F(RecordScreen, OpeningFromTheMenuShowsTheTableAndNeverTheNameEntry) {
    put("Level11", "30.0");
    put("Level11Name", "Ann");
    put("Level22", "18.2");
    put("Level22Name", "Bob");
    game().SelectLevel = 1;
    game().Totaltime = 99.0f;  // would beat everything, were it a run
    RecordLayer* layer = openFromMenu();
    EXPECT_FALSE(layer->isEnteringName());
    EXPECT_EQ(layer->nameLabel(), nullptr);
    EXPECT_EQ(Keyboard::shared().receiver(), nullptr);
    EXPECT_EQ(alert(), nullptr);
    EXPECT_EQ(value("Level11"), "30.0");
    EXPECT_EQ(value("Level12"), std::nullopt);

    // Twelve labels, white, in their places.
    ASSERT_EQ(layer->tableLabels().size(), 12u);
    const Point places[] = {{90, 240}, {170, 240}, {290, 240}, {370, 240}, {90, 130}, {170, 130},
                            {290, 130}, {370, 130}, {90, 30},   {170, 30},  {290, 30},  {370, 30}};
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(layer->tableLabels()[i]->position(), places[i]) << i;
        EXPECT_EQ(layer->tableLabels()[i]->r(), 255);
        EXPECT_EQ(layer->tableLabels()[i]->b(), 255);
    }
    const auto table = tableOf(*layer);
    EXPECT_EQ(table.at("Level11Name"), "Ann");
    EXPECT_EQ(table.at("Level11"), "30.0");
    EXPECT_EQ(table.at("Level22Name"), "Bob");
    EXPECT_EQ(table.at("Level22"), "18.2");
    EXPECT_EQ(table.at("Level12"), "");
    EXPECT_EQ(table.at("Level31Name"), "");
}

TEST_F(RecordScreen, AnOverlongOrMultiLineStoredValueIsShownCutToOneLineOfANamesLength) {
    put("Level11", "30.0");
    put("Level11Name", "Ann\nBob" + std::string(5000, 'x'));
    put("Level21", std::string(3000, '9'));
    RecordLayer* layer = openFromMenu();
    const auto table = tableOf(*layer);
    EXPECT_EQ(table.at("Level11Name"), "AnnBob" + std::string(18, 'x'));
    EXPECT_EQ(table.at("Level21"), std::string(24, '9'));
    EXPECT_EQ(value("Level11Name"), "Ann\nBob" + std::string(5000, 'x')) << "the store is left as it was";
}

TEST_F(RecordScreen, ARunWithoutARecordShowsTheTableAtOnce) {
    put("Level21", "40.0");
    put("Level22", "35.0");
    RecordLayer* layer = openAtEndOfRun(2, 12.0f);
    EXPECT_FALSE(layer->isEnteringName());
    EXPECT_EQ(layer->tableLabels().size(), 12u);
    EXPECT_EQ(alert(), nullptr);
}

// The name entry

TEST_F(RecordScreen, TheLabelShowsTheTypedNameOrThePrompt) {
    RecordLayer* layer = openAtEndOfRun(1, 10.0f);
    ASSERT_NE(layer->nameLabel(), nullptr);
    EXPECT_EQ(layer->nameLabel()->string(), "Enter Your Name");
    EXPECT_EQ(layer->nameLabel()->r(), 0);
    EXPECT_EQ(layer->nameLabel()->position(), (Point{240, 260}));
    type("Zo\xC3\xAB");
    EXPECT_EQ(layer->nameLabel()->string(), "Zo\xC3\xAB");
    backspace();
    EXPECT_EQ(layer->nameLabel()->string(), "Zo");
    backspace();
    backspace();
    EXPECT_EQ(layer->nameLabel()->string(), "Enter Your Name");
    type("Eve");
    pressReturn();
    EXPECT_EQ(layer->nameLabel(), nullptr);
    EXPECT_EQ(value("Level11Name"), "Eve");
}

TEST_F(RecordScreen, AnEmptyNameIsStored) {
    put("Level11", "30.0");
    put("Level11Name", "Ann");
    RecordLayer* layer = openAtEndOfRun(1, 31.0f);
    ASSERT_TRUE(layer->isEnteringName());
    pressReturn();
    EXPECT_EQ(value("Level11Name"), "");
    EXPECT_EQ(value("Level12Name"), "Ann");
    EXPECT_EQ(game().NamePost, "");
    EXPECT_NE(alert(), nullptr);
}

TEST_F(RecordScreen, ANameStopsAtTwentyFourCharactersAndStillFitsItsBox) {
    RecordLayer* layer = openAtEndOfRun(1, 10.0f);
    type(std::string(20, 'W'));
    type("WWWWWWWWWW");
    EXPECT_EQ(layer->nameLabel()->string(), std::string(24, 'W'));
    Label* label = layer->nameLabel();
    EXPECT_LE(label->contentSize().width * label->scaleX(), 320) << "wider than the name box";
    pressReturn();
    EXPECT_EQ(value("Level11Name"), std::string(24, 'W'));
    EXPECT_EQ(game().NamePost, std::string(24, 'W'));
    // In the table, the name shrinks into its cell instead of running over the time beside it.
    Label* cell = layer->tableLabels()[0].get();
    EXPECT_EQ(cell->string(), std::string(24, 'W'));
    EXPECT_LE(cell->contentSize().width * cell->scaleX(), 84.5f);
}

TEST_F(RecordScreen, TheButtonsWaitForTheNameAndWorkOnceTheAlertIsAnswered) {
    RecordLayer* layer = openAtEndOfRun(1, 10.0f);
    Scene* records = director().runningScene();
    tap(layer->mainMenuButtonFrame().centre());
    tap(layer->worldRankingButtonFrame().centre());
    frames(3);
    EXPECT_EQ(director().runningScene(), records) << "a button left the screen during the name entry";
    EXPECT_TRUE(layer->isEnteringName());
    EXPECT_EQ(Keyboard::shared().receiver() != nullptr, true);

    type("Ann");
    pressReturn();
    ASSERT_NE(alert(), nullptr);
    // The alert is modal: the button under it does nothing either.
    tap(layer->mainMenuButtonFrame().centre());
    EXPECT_EQ(director().runningScene(), records);
    ASSERT_NE(alert(), nullptr);

    CapturedLog log(folder_ / "log.txt");
    tap(alert()->buttonFrame(1).centre());  // No
    EXPECT_EQ(alert(), nullptr);
    EXPECT_EQ(director().runningScene(), records);
    EXPECT_FALSE(game().B_wordsumit);
    EXPECT_EQ(log.messages(), std::vector<std::string>{"cancel"});
    EXPECT_EQ(tableOf(*layer).at("Level11Name"), "Ann");

    tap(layer->mainMenuButtonFrame().centre());
    EXPECT_NE(dynamic_cast<MenuScene*>(director().runningScene()), nullptr);
}

TEST_F(RecordScreen, YesOpensTheWorldRankingToPostTheScore) {
    ScoreServerHost::shared().configure("http://127.0.0.1:1");
    openAtEndOfRun(2, 14.0f);
    type("Ann");
    CapturedLog log(folder_ / "log.txt");
    pressReturn();
    ASSERT_NE(alert(), nullptr);
    tap(alert()->buttonFrame(0).centre());
    EXPECT_NE(dynamic_cast<WorldRankingScene*>(director().runningScene()), nullptr);
    EXPECT_TRUE(game().B_wordsumit);
    EXPECT_EQ(game().NamePost, "Ann");
    EXPECT_EQ(log.messages(),
              (std::vector<std::string>{"Ann", "ok", "Posting Score",
                                        "Sending data: {qs_category = Pro; qs_playername = Ann; qs_score = 14;}"}));
}

TEST_F(RecordScreen, TheWorldRankingButtonOnlyShowsTheRankingAndItsButtonLeadsToTheMenu) {
    game().B_wordsumit = true;  // left over from an earlier run
    RecordLayer* layer = openFromMenu();
    EXPECT_FALSE(game().B_wordsumit);
    tap(layer->worldRankingButtonFrame().centre());
    Scene* scene = director().runningScene();
    ASSERT_NE(dynamic_cast<WorldRankingScene*>(scene), nullptr);
    EXPECT_FALSE(game().B_wordsumit);
    WorldRankingLayer* ranking = nullptr;
    for (const Ref<Node>& child : scene->children()) {
        if (auto* found = dynamic_cast<WorldRankingLayer*>(child.get())) ranking = found;
    }
    ASSERT_NE(ranking, nullptr);
    tap(ranking->mainMenuButtonFrame().centre());
    EXPECT_NE(dynamic_cast<MenuScene*>(director().runningScene()), nullptr);
}

TEST_F(RecordScreen, ClosingTheGameDuringTheNameEntryKeepsEveryTimeWithItsOwnPlayer) {
    put("Level11", "30.0");
    put("Level11Name", "Ann");
    put("Level12", "20.0");
    put("Level12Name", "Bob");
    RecordLayer* layer = openAtEndOfRun(1, 35.0f);
    ASSERT_TRUE(layer->isEnteringName());
    type("Cy");
    director().end();  // the window closed before Return
    EXPECT_EQ(Keyboard::shared().receiver(), nullptr) << "the keyboard still feeds a screen that is gone";

    platform::UserDefaults reopened((folder_ / "data").string());
    EXPECT_EQ(reopened.stringForKey("Level11"), "35.0");
    EXPECT_EQ(reopened.stringForKey("Level11Name"), "") << "not Ann's name on Cy's time";
    EXPECT_EQ(reopened.stringForKey("Level12"), "30.0");
    EXPECT_EQ(reopened.stringForKey("Level12Name"), "Ann");
}

// The store

TEST_F(RecordScreen, ValuesAreOnDiskForTheNextStart) {
    openAtEndOfRun(3, 22.22f);
    type("Ann");
    pressReturn();
    // A second store on the same file, as the next start of the game opens it.
    platform::UserDefaults reopened((folder_ / "data").string());
    EXPECT_EQ(reopened.stringForKey("Level31"), "22.2");
    EXPECT_EQ(reopened.stringForKey("Level31Name"), "Ann");
}

TEST_F(RecordScreen, ADamagedStoreIsMovedAsideAndTheScreenStartsAFreshTable) {
    const fs::path damaged = folder_ / "damaged";
    fs::create_directories(damaged);
    const std::string garbage(4096, '\x33');
    std::ofstream(damaged / platform::UserDefaults::fileName, std::ios::binary) << garbage;
    {
        CapturedLog log(folder_ / "log.txt");
        useDataFolder(damaged);
        (void)store().stringForKey("Level11");
        EXPECT_EQ(log.messages().size(), 1u);
    }

    RecordLayer* layer = openAtEndOfRun(1, 17.0f);
    ASSERT_TRUE(layer->isEnteringName()) << "an empty table: any run is a record";
    type("Ann");
    pressReturn();
    EXPECT_EQ(value("Level11"), "17.0");
    EXPECT_EQ(value("Level11Name"), "Ann");

    static const std::regex dated(R"(defaults\.sqlite3\.damaged-\d{8}-\d{6}(-\d+)?)");
    int copies = 0;
    for (const auto& entry : fs::directory_iterator(damaged)) {
        if (!std::regex_match(entry.path().filename().string(), dated)) continue;
        ++copies;
        std::ifstream in(entry.path(), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), garbage) << "the damaged file was changed";
    }
    EXPECT_EQ(copies, 1);
}

TEST_F(RecordScreen, AStoreThatCannotBeWrittenStillLetsTheRunEnd) {
    const fs::path blocked = folder_ / "blocked";
    std::ofstream(blocked) << "a file where the data folder should be";
    {
        CapturedLog log(folder_ / "log.txt");
        useDataFolder(blocked / "quintora");
        (void)store().stringForKey("Level11");
        EXPECT_EQ(log.messages().size(), 1u);
    }
    RecordLayer* layer = openAtEndOfRun(2, 17.0f);
    ASSERT_TRUE(layer->isEnteringName());
    type("Ann");
    pressReturn();
    ASSERT_NE(alert(), nullptr);
    tap(alert()->buttonFrame(1).centre());
    EXPECT_EQ(tableOf(*layer).at("Level21Name"), "Ann") << "kept for this session";
    EXPECT_FALSE(store().isPersistent());
}

}  // namespace
}  // namespace quintora::testing
