// The world ranking screen under the real director, talking to an HTTP server of the test's own.
#include "app/screens/WorldRanking.hpp"

#include <atomic>
#include <chrono>
#include <map>
#include <set>
#include <thread>
#include <tuple>

#include "app/ScoreServerHost.hpp"
#include "app/replay/ReplayFiles.hpp"
#include "engine/Label.hpp"
#include "online/GameKey.hpp"
#include "online/ScoreForm.hpp"
#include "records/RecordsTest.hpp"
#include "replay/Replay.hpp"
#include "support/HttpServer.hpp"

namespace quintora {
namespace {

using testing::HttpAnswer;
using testing::HttpExchange;
using testing::HttpServer;

class WorldRankingTest : public testing::RecordsTest {
  protected:
    // A server holding `rows` scores of every level that answers a post with `postAnswer` and a device's
    // place with `rank` (none when empty).
    void serve(int rows, std::string postAnswer = "OK", std::string rank = "") {
        server_ = std::make_unique<HttpServer>([rows, postAnswer, rank](const HttpExchange& exchange) {
            if (exchange.head.starts_with("POST")) return HttpAnswer{200, postAnswer};
            if (exchange.head.find("/api/get-rank?") != std::string::npos)
                return HttpAnswer{rank.empty() ? 404 : 200, rank};
            std::string list;
            for (int i = 0; i < rows; ++i) {
                list.append(i ? "," : "").append("{\"qs_playername\":\"P").append(std::to_string(i));
                list.append("\",\"qs_score\":")
                    .append(std::to_string(100 - i))
                    .append(".5,\"qs_country\":\"JP\"}");
            }
            return HttpAnswer{200, "{\"scores\":[" + list + "]}"};
        });
        ScoreServerHost::shared().configure(server_->address());
    }
    // Opens the screen and lets the network answer.
    WorldRankingLayer* openRanking(bool submit) {
        game().B_wordsumit = submit;
        director().runWithScene(WorldRankingScene::node().get());
        frame();
        settle();
        return dynamic_cast<WorldRankingLayer*>(director().runningScene()->children().front().get());
    }
    static void settle() {
        testing::settleConnections();
        frame();
    }
    std::unique_ptr<HttpServer> server_;
};

TEST_F(WorldRankingTest, TheListStopsAtBothEndsFollowsTheWheelAndShowsOnlyTheRowsInsideItsPanel) {
    serve(15);
    game().B_wordsumit = false;
    director().runWithScene(WorldRankingScene::node().get());
    frame();
    auto* layer = dynamic_cast<WorldRankingLayer*>(director().runningScene()->children().front().get());
    EXPECT_EQ(layer->statusText(), "Loading...");
    settle();
    // A move of the finger to a height, or a turn of the wheel, and where the rows are then.
    const std::tuple<bool, float, float> steps[] = {{false, 300, 200}, {false, 340, 220}, {true, 1, 190},
                                                    {true, -4, 220},   {false, -200, 0},  {true, 2, 0}};
    touch(TouchPhase::Began, {240, 100});
    for (const auto& [wheel, amount, y] : steps) {
        SCOPED_TRACE(amount);
        wheel ? director().scroll(amount) : touch(TouchPhase::Moved, {240, amount});
        EXPECT_EQ(layer->rows()->position().y, y);
        int shown = 0;
        for (const Ref<Node>& cell : layer->rows()->children()) shown += cell->visible() ? 1 : 0;
        EXPECT_EQ(shown, 7 * 4) << "seven rows fit between the tabs and the line below";
    }
}

TEST_F(WorldRankingTest, AfterAPostTheOwnPlaceShowsBelowTheListAndItsRowStandsOutInsideIt) {
    // Rows on the server, its answer for the own place (none: 404), what the screen says, the row picked out.
    const std::tuple<int, std::string, std::string, std::string, int> cases[] = {
        {0, "", "No scores yet", "", -1},
        {15, R"({"rank":3,"total":40,"name":"P2","score":98.5})", "", "Your place: 3 of 40   P2   98.5", 2},
        {15, R"({"rank":40,"total":60,"name":"Me","score":16.7})", "", "Your place: 40 of 60   Me   16.7",
         -1},
    };
    for (const auto& [rows, rank, status, line, row] : cases) {
        SCOPED_TRACE(line);
        serve(rows, "OK", rank);
        game().SelectLevel = 1;
        WorldRankingLayer* layer = openRanking(true);
        EXPECT_EQ(alert(), nullptr);
        EXPECT_EQ(layer->statusText(), status);
        EXPECT_EQ(layer->ownRankLine() ? layer->ownRankLine()->string() : "", line);
        const std::vector<Ref<Node>>& cells = layer->rows()->children();
        for (std::size_t i = 0; i < cells.size(); ++i)
            EXPECT_EQ(dynamic_cast<Label&>(*cells[i]).b() == 0, static_cast<int>(i / 4) == row) << i;
        touch(TouchPhase::Began, layer->proTabFrame().centre());
        EXPECT_EQ(layer->ownRankLine(), nullptr) << "another level's list";
        director().end();
    }
}

TEST_F(WorldRankingTest, ThePostCarriesTheSignedRunAndVerifiedRowsAreMarked) {
    replay::Replay run;
    run.level = 1;
    run.frameSteps = {16667, 16666};
    run.time = 12.5f;
    const std::vector<std::uint8_t> recorded = replay::encode(run);
    ASSERT_TRUE(saveDataFile(kLastRunFile, recorded));
    auto posted = std::make_shared<std::string>();
    // Only a boolean true marks a row; fields the game does not know are passed over.
    server_ = std::make_unique<HttpServer>([posted](const HttpExchange& exchange) {
        if (exchange.head.starts_with("POST")) {
            *posted = exchange.body;
            return HttpAnswer{200, "OK"};
        }
        if (exchange.head.find("/api/get-rank?") != std::string::npos) return HttpAnswer{404, ""};
        return HttpAnswer{200,
                          R"({"scores":[{"qs_playername":"P0","qs_score":9,"verified":true},)"
                          R"({"qs_playername":"P1","qs_score":8,"verified":false},)"
                          R"({"qs_playername":"P2","qs_score":7,"verified":"yes"},)"
                          R"({"qs_playername":"P3","qs_score":6,"replay":{"id":[1,2]},"verified":true}]})"};
    });
    ScoreServerHost::shared().configure(server_->address());
    game().SelectLevel = 1;
    game().NamePost = "Ann";
    game().Totaltime = 12.5f;
    WorldRankingLayer* layer = openRanking(true);

    const std::optional<FormFields> form = decodeForm(*posted);
    ASSERT_TRUE(form.has_value()) << *posted;
    std::string replayField, hash;
    for (const auto& [key, value] : *form) {
        if (key == "qs_replay") replayField = value;
        if (key == "qs_hash") hash = value;
    }
    EXPECT_EQ(replayField, base64Text(recorded));
    EXPECT_EQ(hash, scoreHashOf(*form, kGameKey)) << "the replay is signed with the score";

    std::vector<std::string> marked;
    std::map<float, std::string> nameAtHeight;
    for (const Ref<Node>& cell : layer->rows()->children()) {
        const auto* label = dynamic_cast<Label*>(cell.get());
        if (label != nullptr && label->string().starts_with("P"))
            nameAtHeight[label->position().y] = label->string();
    }
    for (const Ref<Node>& cell : layer->rows()->children()) {
        if (dynamic_cast<Label*>(cell.get()) == nullptr) marked.push_back(nameAtHeight[cell->position().y]);
    }
    EXPECT_EQ(marked, (std::vector<std::string>{"P0", "P3"}));
}

TEST_F(WorldRankingTest, ATabShowsItsSelectedImageAndAsksForItsLevel) {
    serve(3);
    WorldRankingLayer* layer = openRanking(false);
    const std::pair<const char*, Rect> tabs[] = {{"Pro", layer->proTabFrame()},
                                                 {"Legend", layer->legendTabFrame()},
                                                 {"Amateur", layer->amateurTabFrame()}};
    for (int i = 0; i < 3; ++i) {
        const auto& [category, frame] = tabs[i];
        SCOPED_TRACE(category);
        touch(TouchPhase::Began, frame.centre());
        EXPECT_TRUE(layer->rows()->children().empty());  // emptied at once; the new rows come with the answer
        settle();
        // The selected tab's image is the one on the screen.
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(layer->selectedTabImages()[k]->position().x > 0, k == (i + 1) % 3) << k;
        EXPECT_EQ(layer->rows()->children().size(), 12u);
        EXPECT_NE(server_->exchanges().back().head.find("&category=" + std::string(category)),
                  std::string::npos);
    }
}

TEST_F(WorldRankingTest, FailuresEndInTheirAlerts) {
    const struct {
        int answered;  // by the server of the test, or -1 for none at all
        std::set<std::string> alerts;
    } cases[] = {
        {1, {"Score Post Failed: Cannot post the score to the server. Retry"}},
        {-1,
         {"Score Post Failed: Internet connection not available. Enable wi-fi / 3g to post your scores to "
          "the server",
          "Score Request Failed: Internet connection not available, cannot view world scores"}},
    };
    for (const auto& c : cases) {
        serve(c.answered, "OK\n");
        if (c.answered < 0) ScoreServerHost::shared().configure("http://127.0.0.1:1");
        openRanking(true);
        std::set<std::string> shown;
        while (alert() != nullptr && shown.size() < 3) {
            shown.insert(alert()->title() + ": " + alert()->message());
            alert()->dismissWithClickedButtonIndex(0);
        }
        EXPECT_EQ(shown, c.alerts);
        director().end();
    }
}

TEST_F(WorldRankingTest, AnswersInTheFrameOfLeavingChangeNothing) {
    serve(5, "refused");
    game().B_wordsumit = true;
    director().runWithScene(WorldRankingScene::node().get());
    frame();
    auto* layer = dynamic_cast<WorldRankingLayer*>(director().runningScene()->children().front().get());
    touch(TouchPhase::Began, layer->proTabFrame().centre());          // asks for its list at once
    touch(TouchPhase::Began, layer->mainMenuButtonFrame().centre());  // the scene switches at the frame's end
    {
        // A frame delivers the network's answers after the touches and before the scene switch.
        testing::CapturedLog log;
        testing::settleConnections();
        EXPECT_EQ(log.text(), "");
    }
    frame();
    EXPECT_EQ(alert(), nullptr);
    EXPECT_EQ(server_->exchanges().size(), 2u);
}

TEST_F(WorldRankingTest, OnlyTheLatestListFillsTheScreen) {
    // The list asked for while the run's score is on its way is slow and lacks it; the one asked for once
    // the score is stored holds it and comes back first.
    server_ =
        std::make_unique<HttpServer>([lists = std::make_shared<std::atomic<int>>()](const HttpExchange& e) {
            if (e.head.starts_with("POST")) return HttpAnswer{200, "OK"};
            const bool first = ++*lists == 1;
            if (first) std::this_thread::sleep_for(std::chrono::milliseconds(400));
            return HttpAnswer{200, std::string("{\"scores\":[{\"qs_playername\":\"") +
                                       (first ? "Before" : "Mine") + "\",\"qs_score\":9.5}]}"};
        });
    ScoreServerHost::shared().configure(server_->address());
    game().B_wordsumit = true;
    director().runWithScene(WorldRankingScene::node().get());
    frame();
    auto* layer = dynamic_cast<WorldRankingLayer*>(director().runningScene()->children().front().get());
    touch(TouchPhase::Began, layer->amateurTabFrame().centre());  // while the post is pending
    settle();
    ASSERT_EQ(server_->exchanges().size(), 4u);  // the post, its own place and two lists
    EXPECT_EQ(dynamic_cast<Label&>(*layer->rows()->children().at(1)).string(), "Mine");
}

}  // namespace
}  // namespace quintora
