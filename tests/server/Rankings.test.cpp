// Stored scores and the ranking pages made of them, the same on every kind of store.
#include <tuple>

#include "ServerUnderTest.hpp"

namespace quintora::server::testing {
namespace {

constexpr std::int64_t kHour = 3600, kDay = 24 * kHour;
using Names = std::vector<std::string>;

class Rankings : public StoreTest {
  protected:
    void postAt(std::int64_t date, const std::string& name, const std::string& score,
                const std::string& device = "device-1", const std::string& country = "") {
        server->now = date;
        const HttpReply reply = server->post(scoreFields(server->game, "Pro", name, score, device),
                                             "/api/post-score", {"X-Country: " + country});
        ASSERT_EQ(reply.body, "OK") << name;
    }
};

TEST_P(Rankings, UpdateKeepsOneEntryWithTheLongerTime) {
    const std::pair<const char*, double> steps[] = {{"40", 40}, {"30.5", 40}, {"52.25", 52.25}, {"1", 52.25}};
    std::int64_t date = server->now;
    for (const auto& [score, kept] : steps) {
        SCOPED_TRACE(score);
        server->now = date++;
        EXPECT_EQ(server->postScore("Pro", "Ann", score, "device-1", "/api/update-score").body, "OK");
        const auto rows = server->ranking("&category=Pro");
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].score, kept);
    }
    // An equal time (posted again it would carry a used signature) does not replace the entry.
    server->store().write({server->game, "Pro", "Ann", 52.25, "", "device-1", date, "", ""},
                          WriteMode::KeepBest);
    EXPECT_EQ(server->ranking("")[0].date, "2023-11-14T22:13:22Z");
    // Another device, name or category is another entry; plain posts always add one.
    EXPECT_EQ(server->postScore("Pro", "Ann", "10", "device-2", "/api/update-score").body, "OK");
    EXPECT_EQ(server->postScore("Pro", "Bea", "10", "device-1", "/api/update-score").body, "OK");
    EXPECT_EQ(server->postScore("Amateur", "Ann", "10", "device-1", "/api/update-score").body, "OK");
    EXPECT_EQ(server->postScore("Pro", "Ann", "5").body, "OK");
    EXPECT_EQ(server->ranking("&limit=100").size(), 5u);
}

TEST_P(Rankings, QueryTypesAndFlagsChooseThePeriodTheDeviceAndTheCallersCountry) {
    const std::int64_t now = 1'750'000'000;
    postAt(now - 2 * kHour, "hours", "1", "mine", "de");
    postAt(now - 3 * kDay, "days", "2", "mine", "FR");
    postAt(now - 10 * kDay, "weeks", "3", "other", "DE");
    postAt(now - 40 * kDay, "months", "4", "other", "Germany");
    server->now = now;
    const struct {
        const char *query, *country;
        Names expected;
    } cases[] = {
        {"&querytype=1", "", {"hours"}},
        {"&querytype=2", "", {"days", "hours"}},
        {"&querytype=3", "", {"weeks", "days", "hours"}},
        {"&querytype=4", "", {"months", "weeks", "days", "hours"}},
        {"&querytype=x", "", {"months", "weeks", "days", "hours"}},
        {"&querytype=0", "", {"months", "weeks", "days", "hours"}},
        {"&flags=0&device=mine", "DE", {"months", "weeks", "days", "hours"}},
        {"&flags=2&device=mine", "DE", {"days", "hours"}},
        {"&flags=1", "de", {"weeks", "hours"}},
        {"&flags=3&device=mine", "DE", {"hours"}},
        {"&flags=1", "", {"months"}},
        {"&flags=8&device=mine", "DE", {"months", "weeks", "days", "hours"}},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(std::string(entry.query) + " from " + entry.country);
        EXPECT_EQ(
            namesOf(parseScores(server->get(entry.query, {std::string("X-Country: ") + entry.country}).body)),
            entry.expected);
    }
}

TEST_P(Rankings, EqualTimesRankEarlierFirstAndPagesFollowOn) {
    postAt(server->now + 5, "later", "20");
    postAt(server->now - 5, "earlier", "20");
    postAt(server->now, "best", "30.75");
    postAt(server->now, "worst", "0.5");
    const auto rows = server->ranking("");
    EXPECT_EQ(namesOf(rows), (Names{"best", "earlier", "later", "worst"}));
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].rank, static_cast<double>(i + 1));
    EXPECT_EQ(rows.at(0).score, 30.75);
    const auto page = server->ranking("&offset=1&limit=2");
    EXPECT_EQ(namesOf(page), (Names{"earlier", "later"}));
    EXPECT_EQ(page.at(0).rank, 2.0);
    // Out-of-range and non-numeric paging falls back to the defaults or the nearest bound.
    EXPECT_EQ(server->names("&offset=-4&limit=0"), Names{"best"});
    EXPECT_EQ(server->names("&offset=abc&limit=2x").size(), 4u);
    EXPECT_TRUE(server->names("&offset=99999").empty());
    EXPECT_TRUE(server->names("&category=Amateur").empty());
    for (int i = 0; i < 116; ++i) postAt(server->now + i, std::to_string(i) + "p", std::to_string(i));
    EXPECT_EQ(server->names("").size(), 15u);
    EXPECT_EQ(server->names("&limit=1000").size(), 100u);
    EXPECT_EQ(server->names("&offset=110&limit=100").size(), 10u);
}

TEST_P(Rankings, ASignatureIsTakenOnceEvenWithItsValuesSplitAnotherWay) {
    ASSERT_EQ(server->postScore("Pro", "Player9", "12.3").body, "OK");
    for (const auto& [name, score, path] : {std::tuple{"Player9", "12.3", "/api/post-score"},
                                            {"Player9", "12.3", "/api/update-score"},
                                            {"Player", "912.3", "/api/post-score"}}) {
        const HttpReply reply = server->postScore("Pro", name, score, "device-2", path);
        EXPECT_EQ(reply.status, 409);
        EXPECT_EQ(reply.body, "already posted");
    }
    EXPECT_EQ(server->names(""), Names{"Player9"});
}

TEST_P(Rankings, GetRankPlacesADevicesBestEntryAsTheListOrdersItOrAnswersAJsonError) {
    for (int i = 0; i < 60; ++i)
        postAt(server->now + i, 'p' + std::to_string(i), std::to_string(100 - i), 'd' + std::to_string(i));
    postAt(server->now + 100, "tie", "61", "mine");  // level with p39, posted later: ranks after it
    postAt(server->now, "worse", "2", "mine");
    const std::string rank = "/api/get-rank?gamename=" + escaped(server->game);
    const std::tuple<std::string, int, std::string> cases[] = {
        // the query, and the answer's status and body
        {"&category=Pro&device=mine", 200, R"({"rank":41,"total":62,"name":"tie","score":61})"},
        {"&category=Pro&device=d0", 200, R"({"rank":1,"total":62,"name":"p0","score":100})"},
        {"&category=Amateur&device=mine", 404, R"({"error":"no entry for this device"})"},
        {"&category=Pro&device=", 400, R"({"error":"category and device are required"})"},
        {"&device=mine", 400, R"({"error":"category and device are required"})"},
        {"x&category=Pro&device=mine", 404, R"({"error":"unknown game"})"},
    };
    for (const auto& [query, status, body] : cases) {
        const HttpReply reply = httpRequest(server->url() + rank + query, nullptr, {});
        EXPECT_EQ(reply.status, status) << query;
        EXPECT_EQ(reply.body, body) << query;
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, Rankings, ::testing::Values("sqlite", "postgres"));

}  // namespace
}  // namespace quintora::server::testing
