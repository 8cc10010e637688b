// The world ranking screen under the real director, talking to an HTTP server of the test's own.
#include "app/WorldRanking.hpp"

#include <set>

#include "app/ScoreServerHost.hpp"
#include "records/RecordsTest.hpp"
#include "support/HttpServer.hpp"

namespace quintora {
namespace {

using testing::HttpAnswer;
using testing::HttpExchange;
using testing::HttpServer;

class WorldRankingTest : public testing::RecordsTest {
  protected:
    // A server holding `rows` scores of every level that answers a post with `postAnswer`.
    void serve(int rows, std::string postAnswer = "OK") {
        server_ = std::make_unique<HttpServer>([rows, postAnswer](const HttpExchange& exchange) {
            if (exchange.head.starts_with("POST")) return HttpAnswer{200, postAnswer};
            std::string list;
            for (int i = 0; i < rows; ++i) {
                list += (i ? "," : "") + std::string("{\"qs_playername\":\"P") + std::to_string(i) +
                        "\",\"qs_score\":" + std::to_string(100 - i) + ".5,\"qs_country\":\"JP\"}";
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

TEST_F(WorldRankingTest, DraggingUpStopsAtTheLimit) {
    serve(15);
    WorldRankingLayer* layer = openRanking(false);
    touch(TouchPhase::Began, {240, 100});
    touch(TouchPhase::Moved, {240, 300});  // the finger goes up 200: the list follows
    EXPECT_EQ(layer->rows()->position().y, 200);
    touch(TouchPhase::Moved, {240, 310});  // past the 15 rows' limit (190): held just below it
    EXPECT_EQ(layer->rows()->position().y, 185);
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
        EXPECT_NE(server_->exchanges().back().head.find("&category=" + std::string(category)), std::string::npos);
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

TEST_F(WorldRankingTest, AnswersAfterTheScreenHasGoneChangeNothing) {
    serve(5, "refused");
    game().B_wordsumit = true;
    director().runWithScene(WorldRankingScene::node().get());
    frame();
    touch(TouchPhase::Began, {220, 290});  // the Pro tab asks for its list at once
    director().replaceScene(Scene::node().get());
    frame();
    testing::CapturedLog log;
    settle();
    EXPECT_EQ(alert(), nullptr);
    EXPECT_EQ(log.text(), "");
    EXPECT_EQ(server_->exchanges().size(), 2u);
}

}  // namespace
}  // namespace quintora
