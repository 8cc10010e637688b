// The score clients against a real HTTP server on 127.0.0.1 that answers as each test asks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "online/GameKey.hpp"
#include "online/ScoreServerAddress.hpp"
#include "online/ScoreServerPost.hpp"
#include "online/ScoreServerRequest.hpp"
#include "platform/DeviceIdentifier.hpp"
#include "platform/UserDefaults.hpp"
#include "support/HttpServer.hpp"

namespace quintora {
namespace {

using testing::HttpAnswer;
using testing::HttpExchange;
using testing::HttpServer;
using testing::settleConnections;

struct Heard : ScoreServerPostDelegate, ScoreServerRequestDelegate {
    std::vector<std::string> calls;
    int postStatus = -1;
    std::shared_ptr<const JSONArray> scores;
    void scorePostOk(ScoreServerPost& c) override { calls.push_back("ok"), postStatus = c.postStatus(); }
    void scorePostFail(ScoreServerPost& c) override { calls.push_back("fail"), postStatus = c.postStatus(); }
    void scoreRequestOk(ScoreServerRequest& c) override { calls.push_back("ok"), scores = c.parseScores(); }
    void scoreRequestFail(ScoreServerRequest&) override { calls.push_back("fail"); }
};

// The device identifier lives in the defaults store: a folder of the test's own, not the user's.
class ScoreClient : public ::testing::Test {
  protected:
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quintora-client-" + std::to_string(::getpid()));
    void SetUp() override { platform::setDataDirectory(folder.string()); }
    void TearDown() override { platform::setDataDirectory(""), std::filesystem::remove_all(folder); }
};

// The form of a send: the score's fields in signing order, then the device, the game, the signature and the
// protocol's version.
FormFields sentForm(FormFields fields, const std::string& hash) {
    fields.insert(fields.end(), {{"qs_device_id", platform::deviceIdentifier()},
                                 {"qs_gamename", "Quintora"},
                                 {"qs_hash", hash},
                                 {"qs_prot_ver", "1.1"}});
    return fields;
}

const std::string kAwkwardName = "A&B = C+D 100% Zo\xc3\xab";
const std::string kHuge(3 << 20, 'x');

std::string post(const ScoreDictionary& score, const std::shared_ptr<Heard>& heard) {
    auto client = ScoreServerPost::serverWithGameName(std::string(kGameName), std::string(kGameKey), heard);
    EXPECT_TRUE(client->updateScore(score));
    const std::string body = client->getBodyValues();
    client.reset();  // the connection keeps it alive until the answer is in
    settleConnections();
    return body;
}

TEST_F(ScoreClient, PostsTheSignedFormInItsOrderWithEveryCharacterIntact) {
    HttpServer server([](const HttpExchange&) { return HttpAnswer{200, "OK"}; });
    setScoreServerAddress(server.address());
    auto heard = std::make_shared<Heard>();
    const std::string body = post(
        {{"qs_score", 24.9f}, {"qs_playername", kAwkwardName}, {"qs_category", std::string("Pro")}}, heard);
    EXPECT_EQ(heard->calls, std::vector<std::string>{"ok"});

    const auto exchanges = server.exchanges();
    ASSERT_EQ(exchanges.size(), 1u);
    EXPECT_TRUE(exchanges[0].head.starts_with("POST /api/update-score HTTP/1.1\r\n"));
    EXPECT_NE(exchanges[0].head.find("Content-Type: application/x-www-form-urlencoded\r\n"),
              std::string::npos);
    EXPECT_EQ(exchanges[0].body, body);
    EXPECT_NE(body.find("qs_playername=A%26B%20%3D%20C%2BD%20100%25%20Zo%C3%AB&"), std::string::npos);
    const auto fields = decodeForm(body);
    ASSERT_TRUE(fields);
    EXPECT_EQ(*fields,
              sentForm({{"qs_category", "Pro"}, {"qs_playername", kAwkwardName}, {"qs_score", "24.9"}},
                       scoreHashOf(*fields, kGameKey)));
}

TEST_F(ScoreClient, OnlyAnExactOKIsASuccess) {
    const struct {
        const char* what;
        HttpAnswer answer;
        int status;
        const char* address = nullptr;  // in place of the test server's
    } cases[] = {
        {"OK", {200, "OK"}, ScoreServerPost::kPostOk},
        {"OK and a line break", {200, "OK\n"}, ScoreServerPost::kRefused},
        {"an error page", {500, "<html><body>Internal error</body></html>"}, ScoreServerPost::kRefused},
        {"a redirect, not followed", {302, "", "Location: /elsewhere\r\n"}, ScoreServerPost::kRefused},
        {"a huge answer", {200, kHuge}, ScoreServerPost::kRefused},
        {"a refused connection", {}, ScoreServerPost::kConnectionFailed, "http://127.0.0.1:1"},
        {"no server at all", {}, ScoreServerPost::kConnectionFailed, ""},
        {"not HTTP", {}, ScoreServerPost::kConnectionFailed, "ftp://127.0.0.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HttpServer server([&](const HttpExchange&) { return c.answer; });
        setScoreServerAddress(c.address ? c.address : server.address());
        auto heard = std::make_shared<Heard>();
        post({{"qs_playername", std::string("Ann")}}, heard);
        EXPECT_EQ(heard->calls,
                  std::vector<std::string>{c.status == ScoreServerPost::kPostOk ? "ok" : "fail"});
        EXPECT_EQ(heard->postStatus, c.status);
        EXPECT_EQ(server.exchanges().size(), c.address ? 0u : 1u);
    }
}

TEST_F(ScoreClient, SignsInCaseInsensitiveKeyOrderAndSendsOnlyTheLatestScore) {
    HttpServer server([](const HttpExchange&) { return HttpAnswer{200, "OK"}; });
    setScoreServerAddress(server.address());
    auto heard = std::make_shared<Heard>();
    auto client = ScoreServerPost::serverWithGameName(std::string(kGameName), std::string(kGameKey), heard);
    ASSERT_TRUE(client->sendScore({{"qs_score", 1.5f}}));
    // "A" before "b" whatever the case; keys equal but for case in byte order ("A" before "a"). The digest
    // is MD5("1" "3" "2" key), worked out apart from the game.
    ASSERT_TRUE(
        client->sendScore({{"b", std::string("2")}, {"A", std::string("1")}, {"a", std::string("3")}}));
    settleConnections();
    auto exchanges = server.exchanges();
    ASSERT_EQ(exchanges.size(), 2u);
    // The two sends are under way together and may reach the server in either order.
    if (exchanges[0].body.starts_with("A=")) std::swap(exchanges[0], exchanges[1]);
    EXPECT_TRUE(exchanges[0].body.starts_with("qs_score=1.5&"));
    EXPECT_EQ(decodeForm(exchanges[1].body),
              sentForm({{"A", "1"}, {"a", "3"}, {"b", "2"}}, "c0320e1f9f1f5612d64f699e7cfec4fe"));
}

TEST_F(ScoreClient, AsksForAListWithTheWholeQueryInItsOrder) {
    HttpServer server([](const HttpExchange&) { return HttpAnswer{200, "{}"}; });
    setScoreServerAddress(server.address());
    auto heard = std::make_shared<Heard>();
    ScoreServerRequest::serverWithGameName("Quintora", heard)->requestScores(4, 15, 0, 0, "Amateur");
    ScoreServerRequest::serverWithGameName("Quintora", heard)->requestScores(1, 7, 3, 2, "Pro Am");
    settleConnections();
    std::vector<std::string> lines;
    for (const auto& exchange : server.exchanges())
        lines.push_back(exchange.head.substr(0, exchange.head.find('\r')));
    std::sort(lines.begin(), lines.end());  // the two may arrive in either order
    EXPECT_EQ(
        lines,
        (std::vector<std::string>{
            "GET /api/get-scores?gamename=Quintora&querytype=1&offset=3&limit=7&flags=2&category=Pro%20Am"
            "&device=" +
                platform::deviceIdentifier() + " HTTP/1.1",
            "GET /api/get-scores?gamename=Quintora&querytype=4&offset=0&limit=15&flags=0"
            "&category=Amateur&device= HTTP/1.1"}));
}

TEST_F(ScoreClient, RefusesScoresItCannotSignAndSendsNothing) {
    auto client = ScoreServerPost::serverWithGameName("Quintora", std::string(kGameKey), {});
    EXPECT_THROW(client->updateScore({{"qs_score", 1.5f}}), ScoreFormatError);
    EXPECT_THROW(client->sendScore({{"qs_playername", std::string("Ann")}, {"qs_score", std::monostate{}}}),
                 ScoreFormatError);
    EXPECT_TRUE(client->bodyValues().empty());
    EXPECT_EQ(platform::activeUrlConnections(), 0u);
}

TEST_F(ScoreClient, ReadsTheListFromAnyAnswerWithoutFailing) {
    const struct {
        const char* what;
        std::string answer;
        const char* firstName;  // nullptr: no list
        const char* heard = "ok";
    } cases[] = {
        {"a UTF-8 name", "{\"scores\":[{\"qs_playername\":\"Zo\xc3\xab\",\"qs_score\":24.9}]}", "Zo\xc3\xab"},
        {"no list", "{\"top\":[]}", nullptr},
        {"not JSON", "<html>Bad gateway</html>", nullptr},
        {"a list of the wrong kind", "{\"scores\":\"none\"}", nullptr},
        {"too large", "{\"scores\":[\"" + kHuge + "\"]}", nullptr, "fail"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HttpServer server([&](const HttpExchange&) { return HttpAnswer{200, c.answer}; });
        setScoreServerAddress(server.address());
        auto heard = std::make_shared<Heard>();
        ScoreServerRequest::serverWithGameName("Quintora", heard)->requestScores(4, 15, 0, 0, "Pro");
        settleConnections();
        EXPECT_EQ(heard->calls, std::vector<std::string>{c.heard});
        ASSERT_EQ(heard->scores != nullptr, c.firstName != nullptr);
        if (c.firstName) {
            EXPECT_EQ(*findValue(*heard->scores->at(0).asDictionary(), "qs_playername")->asString(),
                      c.firstName);
        }
    }
}

}  // namespace
}  // namespace quintora
