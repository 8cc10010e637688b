// The game binary and the real score server: a record posted with "Yes" and found in the server's store;
// the lists of another server named on the command line.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "online/GameKey.hpp"
#include "online/ScoreServerAddress.hpp"
#include "online/ScoreServerPost.hpp"
#include "online/ScoreServerRequest.hpp"
#include "platform/ChildProcess.hpp"
#include "platform/UrlConnection.hpp"
#include "platform/UserDefaults.hpp"
#include "support/Files.hpp"
#include "support/GameBinary.hpp"

namespace quintora {
namespace {

namespace fs = std::filesystem;

class WorldRankingEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("quintora-ranking-e2e-" + std::to_string(::getpid()));
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
    std::string startServer(const fs::path& store) {
        const fs::path program = fs::path(QUINTORA_BINARY).parent_path().parent_path() / "server" / "quintora-server";
        const std::string output = (folder_ / "server.out").string();
        server_ = platform::ChildProcess::start(
            program.string(), {"--listen", "127.0.0.1:0", "--rate", "0", "--db", "sqlite:" + store.string()}, output,
            nullptr);
        for (int i = 0; i < 500 && server_ && server_->isRunning(); ++i) {
            const std::string text = testing::readFile(output);
            if (text.starts_with("listening on ") && text.find('\n') != std::string::npos) {
                return text.substr(13, text.find('\n') - 13);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "the score server did not start: " << testing::readFile(output);
        return {};
    }
    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name) << text;
        return (folder_ / name).string();
    }
    static void settle() {
        for (int i = 0; i < 400 && platform::activeUrlConnections() > 0; ++i) {
            platform::waitForUrlConnections(50);
            platform::pollUrlConnections();
        }
    }
    fs::path folder_;
    std::unique_ptr<platform::ChildProcess> server_;
};

struct Answer : ScoreServerRequestDelegate {
    std::shared_ptr<const JSONArray> scores;
    void scoreRequestOk(ScoreServerRequest& request) override { scores = request.parseScores(); }
};

TEST_F(WorldRankingEndToEnd, ARecordPostedWithYesIsStoredByTheBundledServerUnderItsTypedName) {
    // Amateur, then a touch in the middle every 45 frames until the run is lost; the name, "Yes", the
    // ranking with its three tabs.
    std::ostringstream script;
    script << "200 tap 150 150\n";
    for (long frame = 260; frame < 4900; frame += 45) script << frame << " tap 240 160\n";
    script << "5000 text Zo\xc3\xab & Co\n5001 key return\n5003 alert 0\n"
           << "5005 screenshot " << (folder_ / "amateur.png").string() << "\n5006 tap 220 290\n"
           << "5008 screenshot " << (folder_ / "pro.png").string() << "\n5009 tap 350 290\n5011 quit\n";
    const fs::path data = folder_ / "data";
    const testing::GameRun run = testing::runGame("--headless --virtual-clock --data-dir " + data.string() +
                                                  " --script " + write("run.txt", script.str()) + " --log " +
                                                  (folder_ / "run.log").string());
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string log = testing::readFile(folder_ / "run.log");
    for (const char* line : {" score server: started at http://127.0.0.1:", " score post OK\n", " Reload\n"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line << " in\n" << log;
    }
    // The first list, then the Pro and the Legend tab's.
    std::size_t lists = 0;
    for (auto at = log.find(" score request OK\n"); at != std::string::npos; at = log.find(" score request OK\n", at + 1)) {
        ++lists;
    }
    EXPECT_EQ(lists, 3u) << log;
    // The game stopped its server on the way out.
    EXPECT_NE(testing::readFile(data / "score-server.log").find("stopping on signal"), std::string::npos);

    setScoreServerAddress(startServer(data / "scores.sqlite3"));
    auto answer = std::make_shared<Answer>();
    ScoreServerRequest::serverWithGameName("Quintora", answer)->requestScores(4, 15, 0, 0, "Amateur");
    settle();
    ASSERT_TRUE(answer->scores && answer->scores->size() == 1);
    const JSONDictionary& stored = *answer->scores->at(0).asDictionary();
    EXPECT_EQ(*findValue(stored, "qs_playername")->asString(), "Zo\xc3\xab & Co");
    EXPECT_GT(findValue(stored, "qs_score")->asNumber()->value, 10);
}

TEST_F(WorldRankingEndToEnd, TheTabsShowTheListsOfTheServerNamedOnTheCommandLine) {
    const std::string address = startServer(folder_ / "scores.sqlite3");
    setScoreServerAddress(address);
    for (int i = 0; i < 12; ++i) {  // twelve Pro runs: a list that scrolls
        ScoreServerPost::serverWithGameName("Quintora", std::string(kGameKey), {})
            ->sendScore({{"qs_playername", std::to_string(i)}, {"qs_score", 20.5f + i},
                         {"qs_category", std::string("Pro")}});
        settle();
    }
    const std::string script = "200 tap 40 30\n230 tap 400 290\n240 tap 220 290\n250 tap 350 290\n" +
                               std::string("260 screenshot ") + (folder_ / "legend.png").string() + "\n261 quit\n";
    const testing::GameRun run = testing::runGame(
        "--headless --virtual-clock --data-dir " + (folder_ / "data").string() + " --score-server " + address +
        " --script " + write("run.txt", script) + " --log " + (folder_ / "run.log").string());
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string log = testing::readFile(folder_ / "run.log");
    EXPECT_NE(log.find("240 count = 100\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("score server: started"), std::string::npos) << log;
    EXPECT_EQ(log.find("score request fail"), std::string::npos) << log;
}

}  // namespace
}  // namespace quintora
