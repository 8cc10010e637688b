// The quintora-server program as an operator or the game starts it.
#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <regex>

#include "ServerUnderTest.hpp"
#include "support/Files.hpp"

namespace quintora::server::testing {
namespace {

// The server program, its standard output read line by line and its standard error kept in a file.
class ServerProcess {
  public:
    ServerProcess(const std::string& arguments, const std::filesystem::path& errors) {
        // The shell reports its own process id and then becomes the server, so the test can signal it.
        pipe_ = popen(
            ("echo $$; exec " QUINTORA_SERVER_BINARY " " + arguments + " 2>" + errors.string()).c_str(), "r");
        pid_ = std::stoi(line());
    }
    ~ServerProcess() {
        if (pipe_) finish(SIGKILL);
    }
    std::string line() {
        char buffer[4096] = {};
        return std::fgets(buffer, sizeof buffer, pipe_) ? buffer : "";
    }
    // Sends `signal` (if any) and gives the exit status.
    int finish(int signal = 0) {
        if (signal != 0) kill(pid_, signal);
        const int status = pclose(pipe_);
        pipe_ = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

  private:
    FILE* pipe_ = nullptr;
    int pid_ = 0;
};

TEST(ServerProcess, AnnouncesItsAddressServesAndStopsCleanlyOnEachSignal) {
    TempDir dir;
    const std::filesystem::path errors = dir.path() / "errors";
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        ServerProcess server(
            "--listen 127.0.0.1:0 --db sqlite:" + (dir.path() / "nested" / "scores.db").string(), errors);
        std::smatch match;
        const std::string line = server.line();
        ASSERT_TRUE(
            std::regex_match(line, match, std::regex("listening on (http://127\\.0\\.0\\.1:[0-9]+)\n")))
            << line;
        const std::string url = match[1];
        EXPECT_EQ(httpRequest(url + "/healthz", nullptr).status, 200);
        const std::string body =
            formBody(scoreFields(std::string(kGameName), "Pro", "Ann", std::to_string(signal)));
        EXPECT_EQ(httpRequest(url + "/api/post-score", &body).body, "OK");
        // Every score posted so far, this run's and the last one's, is there.
        const auto rows =
            parseScores(httpRequest(url + "/api/get-scores?gamename=Quintora&category=Pro", nullptr).body);
        EXPECT_EQ(rows.size(), signal == SIGTERM ? 1u : 2u);
        EXPECT_EQ(server.finish(signal), 0);
        const std::string log = quintora::testing::readFile(errors);
        EXPECT_NE(log.find("127.0.0.1 \"POST /api/post-score\" 200 2\n"), std::string::npos) << log;
    }
}

TEST(ServerProcess, RefusesABadCommandLineWithStatusTwo) {
    TempDir dir;
    for (const char* arguments :
         {"--bogus", "--listen localhost", "--listen 127.0.0.1:70000", "--rate -1", "--rate many",
          "--game nokey", "--game :key", "extra", "scores remove 99999999999999999999", "scores remove 0x10",
          "devices ban ''", "devices ban \"$(printf '\\377')\"",
          "devices ban $(head -c 100000 /dev/zero | tr '\\0' a)"}) {
        SCOPED_TRACE(arguments);
        ServerProcess server(arguments, dir.path() / "errors");
        EXPECT_EQ(server.finish(), 2);
        EXPECT_EQ(quintora::testing::readFile(dir.path() / "errors").rfind("quintora-server: ", 0), 0u);
    }
    ServerProcess help("--help", dir.path() / "errors");
    EXPECT_NE(help.line().find("score server"), std::string::npos);
    EXPECT_EQ(help.finish(), 0);
}

TEST(ServerProcess, ModerationNeedsAStoreThatIsThereAndCreatesNone) {
    TempDir dir;
    for (const char* command : {"scores list", "devices ban x"}) {
        ServerProcess admin(std::string(command) + " --db sqlite:" + (dir.path() / "typo" / "s.db").string(),
                            dir.path() / "errors");
        EXPECT_EQ(admin.finish(), 1) << command;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "typo")) << command;
    }
}

TEST(ServerProcess, ListeningOnAllIPv6AddressesTakesIPv4ClientsToo) {
    TempDir dir;
    ServerProcess server("--listen [::]:0 --db " + dir.sqlite(), dir.path() / "errors");
    const std::string line = server.line();
    const std::string port = line.substr(line.rfind(':') + 1, line.size() - line.rfind(':') - 2);
    EXPECT_EQ(httpRequest("http://127.0.0.1:" + port + "/healthz", nullptr).status, 200) << line;
    EXPECT_EQ(server.finish(SIGTERM), 0);
}

TEST(ServerProcess, RefusesToStartOnAFileThatIsNotADatabase) {
    TempDir dir;
    const std::filesystem::path file = dir.path() / "notes.txt";
    const std::string text(8000, 'n');  // someone's notes, not scores
    std::ofstream(file) << text;
    ServerProcess server("--listen 127.0.0.1:0 --db sqlite:" + file.string(), dir.path() / "errors");
    EXPECT_EQ(server.finish(), 1);
    const std::string errors = quintora::testing::readFile(dir.path() / "errors");
    EXPECT_NE(errors.find(file.string() + " as the score database"), std::string::npos) << errors;
    EXPECT_EQ(quintora::testing::readFile(file), text);
    std::filesystem::remove(dir.path() / "errors");
    EXPECT_EQ(std::filesystem::directory_iterator(dir.path())->path(), file);  // no journal or WAL beside it
}

}  // namespace
}  // namespace quintora::server::testing
