// The game binary and the real score server: a record posted with "Yes" and found in the server's store;
// the lists of another server named on the command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "online/GameKey.hpp"
#include "online/ScoreForm.hpp"
#include "online/ScoreServerAddress.hpp"
#include "online/ScoreServerPost.hpp"
#include "online/ScoreServerRequest.hpp"
#include "platform/ChildProcess.hpp"
#include "platform/DeviceIdentifier.hpp"
#include "platform/UserDefaults.hpp"
#include "replay/Replay.hpp"
#include "support/Files.hpp"
#include "support/GameBinary.hpp"
#include "support/HttpClient.hpp"
#include "support/HttpServer.hpp"

namespace quintora {
namespace {

namespace fs = std::filesystem;

class WorldRankingEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(folder_);
        platform::setDataDirectory((folder_ / "test").string());  // the test's own device identifier
        ::unsetenv("QUINTORA_SCORE_SERVER");
    }
    void TearDown() override {
        server_.reset();
        platform::setDataDirectory("");
        fs::remove_all(folder_);
    }
    // Starts the score server the game ships with on a store of the test's; returns its address.
    std::string startServer(const fs::path& store, const std::vector<std::string>& extra = {}) {
        const fs::path program =
            fs::path(QUINTORA_BINARY).parent_path().parent_path() / "server" / "quintora-server";
        const std::string output = (folder_ / "server.out").string();
        std::vector<std::string> arguments{"--listen", "127.0.0.1:0", "--rate",
                                           "0",        "--db",        "sqlite:" + store.string()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        server_ = platform::ChildProcess::start(program.string(), arguments, output, nullptr);
        for (int i = 0; i < 500 && server_ && server_->isRunning(); ++i) {
            const std::string text = testing::readFile(output);
            if (text.starts_with("listening on ") && text.find('\n') != std::string::npos)
                return text.substr(13, text.find('\n') - 13);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "the score server did not start: " << testing::readFile(output);
        return {};
    }
    // Runs the game headless under the virtual clock with the script; returns its log.
    std::string play(const std::string& script, const std::string& extra = "") {
        std::ofstream(folder_ / "script.txt") << script;
        const testing::GameRun run = testing::runGame(
            "--headless --virtual-clock --data-dir " + data.string() + " --log " +
            (folder_ / "run.log").string() + " --script " + (folder_ / "script.txt").string() + extra);
        EXPECT_EQ(run.status, 0) << run.output;
        return testing::readFile(folder_ / "run.log");
    }
    const fs::path folder_ =
        fs::temp_directory_path() / ("quintora-ranking-e2e-" + std::to_string(::getpid()));
    const fs::path data = folder_ / "data";
    std::unique_ptr<platform::ChildProcess> server_;
};

struct Answer : ScoreServerRequestDelegate {
    std::shared_ptr<const JSONArray> scores;
    void scoreRequestOk(ScoreServerRequest& request) override { scores = request.parseScores(); }
};

std::size_t count(const std::string& text, const std::string& line) {
    std::size_t found = 0;
    for (auto at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++found;
    return found;
}

TEST_F(WorldRankingEndToEnd, ARecordPostedWithYesIsStoredUnderItsTypedNameAndListedByAnyServerOfThatStore) {
    // Another device's 59 Amateur runs, through the protocol: 39 far longer than any run here, 20 shorter.
    setScoreServerAddress(startServer(data / "scores.sqlite3"));
    for (int i = 0; i < 59; ++i) {
        const ScoreDictionary score{{"qs_score", i < 39 ? 500.0 + i : 0.1 * (i - 38)},
                                    {"qs_playername", "other" + std::to_string(i)},
                                    {"qs_category", std::string("Amateur")}};
        ScoreServerPost::serverWithGameName("Quintora", std::string(kGameKey), {})->sendScore(score);
    }
    testing::settleConnections();
    server_.reset();
    // With nothing configured: Amateur, then a touch in the middle every 45 frames until the run is lost;
    // the name typed and mended, "Yes", the ranking with its three tabs.
    std::ostringstream script;
    script << "200 tap 150 150\n";
    for (long frame = 260; frame < 4900; frame += 45) script << frame << " tap 240 160\n";
    script << "5000 text Zo\xc3\xab & Cox\n5001 key backspace\n5002 key return\n5004 alert 0\n5005 alert 0\n"
           << "5006 tap 220 290\n5009 tap 350 290\n5011 quit\n";
    std::string log = play(script.str());
    EXPECT_EQ(count(log, " score server: started at http://127.0.0.1:"), 1u) << log;
    EXPECT_EQ(count(log, "5002 Zo\xc3\xab & Co\n"), 1u) << log;
    EXPECT_EQ(count(log, "5005 script: no alert is shown for button 0\n"), 1u) << log;
    EXPECT_EQ(count(log, "5004 ok\n"), 1u) << log;
    EXPECT_EQ(count(log, " score post OK\n"), 1u) << log;
    EXPECT_EQ(count(log, " score request OK\n"), 3u) << log;  // the first list, then the Pro and Legend tabs'
    EXPECT_NE(testing::readFile(data / "score-server.log").find("stopping on signal"), std::string::npos);
    // The records table keeps the run's total as the controller logged it when the run ended.
    char total[32];
    std::snprintf(total, sizeof total, "%.1f", std::stod(log.substr(log.rfind(" totaltime = ") + 13)));
    const std::string sent =
        "5004 Sending data: {qs_category = Amateur; qs_playername = Zo\xc3\xab & Co; qs_score = ";
    EXPECT_EQ(count(log, sent + total + ";}\n"), 1u) << log;
    EXPECT_EQ(count(log, std::string(" own place: Your place: 40 of 60   Zo\xc3\xab & Co   ") + total + "\n"),
              1u)
        << log;
    {
        platform::UserDefaults store(data.string());
        EXPECT_EQ(store.stringForKey("Level11"), total);
        EXPECT_EQ(store.stringForKey("Level11Name"), "Zo\xc3\xab & Co");
        EXPECT_EQ(store.stringForKey("Level12"), std::nullopt);
    }

    // The same store behind a server named on the command line.
    const std::string address = startServer(data / "scores.sqlite3");
    setScoreServerAddress(address);
    auto answer = std::make_shared<Answer>();
    ScoreServerRequest::serverWithGameName("Quintora", answer)->requestScores(4, 15, 39, 0, "Amateur");
    testing::settleConnections();
    ASSERT_TRUE(answer->scores && answer->scores->size() == 15);
    const JSONDictionary& stored = *answer->scores->at(0).asDictionary();
    EXPECT_EQ(*findValue(stored, "qs_playername")->asString(), "Zo\xc3\xab & Co");
    EXPECT_EQ(findValue(stored, "qs_score")->asNumber()->value, std::stod(total));
    // Records from the menu, then the world ranking from that server, the game starting none of its own.
    log = play("200 tap 40 30\n230 tap 400 290\n240 quit\n", " --score-server " + address);
    EXPECT_EQ(count(log, " score request OK\n"), 1u) << log;
    EXPECT_EQ(count(log, "score server: started"), 0u) << log;

    // The post carried the run's replay, which the server re-played with the game itself: ranking only
    // verified runs, the run played here is the level's one entry, and the game marks it.
    server_.reset();
    setScoreServerAddress(startServer(data / "scores.sqlite3", {"--verified-only"}));
    std::shared_ptr<const JSONArray> verified;
    for (int i = 0; i < 300 && !(verified && verified->size() == 1); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        auto listed = std::make_shared<Answer>();
        ScoreServerRequest::serverWithGameName("Quintora", listed)->requestScores(4, 15, 0, 0, "Amateur");
        testing::settleConnections();
        verified = listed->scores;
    }
    ASSERT_TRUE(verified && verified->size() == 1) << "the posted run was not verified in 15 s";
    const JSONDictionary& run = *verified->at(0).asDictionary();
    EXPECT_EQ(*findValue(run, "qs_playername")->asString(), "Zo\xc3\xab & Co");
    EXPECT_TRUE(findValue(run, "verified")->asNumber()->boolValue());
    log = play("200 tap 40 30\n230 tap 400 290\n240 quit\n", " --score-server " + scoreServerAddress());
    EXPECT_EQ(count(log, " verified runs marked: 1 of 1\n"), 1u) << log;
    // So does the ranking page, which links the run to be watched.
    const testing::HttpReply page =
        testing::httpRequest(scoreServerAddress() + "/?category=Amateur", nullptr);
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(count(page.body, "aria-label=\"verified run\""), 1u) << page.body;
    EXPECT_EQ(count(page.body, "href=\"/api/replay?id="), 1u) << page.body;

    // The same run doctored, posted signed as the game posts: re-played by the server, neither ranks.
    const std::string kept = testing::readFile(data / "last-run.qreplay");
    const replay::Replay played =
        std::get<replay::Replay>(replay::decode(std::vector<std::uint8_t>(kept.begin(), kept.end())));
    replay::Replay shrunk = played, longer = played;
    for (std::int64_t& step : shrunk.frameSteps) step /= 5;
    longer.time += 10;  // and posted as such
    for (const auto& [name, doctored] : {std::pair{"shrunk", &shrunk}, {"longer", &longer}}) {
        const ScoreDictionary score{{"qs_score", static_cast<double>(doctored->time)},
                                    {"qs_playername", std::string(name)},
                                    {"qs_category", std::string("Amateur")},
                                    {"qs_replay", base64Text(replay::encode(*doctored))}};
        ScoreServerPost::serverWithGameName("Quintora", std::string(kGameKey), {})->sendScore(score);
    }
    testing::settleConnections();
    const std::string listing =
        "\"" +
        (fs::path(QUINTORA_BINARY).parent_path().parent_path() / "server" / "quintora-server").string() +
        "\" scores list --db sqlite:" + (data / "scores.sqlite3").string();
    std::string verdicts;
    for (int i = 0; i < 300; ++i) {
        verdicts = testing::commandOutput(listing + " --name shrunk") +
                   testing::commandOutput(listing + " --name longer");
        if (count(verdicts, "implausible-timing") + count(verdicts, "mismatch") == 2) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(count(verdicts, "implausible-timing"), 1u) << verdicts;
    EXPECT_EQ(count(verdicts, "mismatch"), 1u) << verdicts;
    const testing::HttpReply ranked =
        testing::httpRequest(scoreServerAddress() + "/?category=Amateur", nullptr);
    EXPECT_EQ(count(ranked.body, "shrunk") + count(ranked.body, "longer"), 0u) << ranked.body;
}

}  // namespace
}  // namespace quintora
