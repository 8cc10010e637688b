// The quintora-server program as an operator or the game starts it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <regex>

#include "ServerUnderTest.hpp"

namespace quintora::server::testing {
namespace {

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(got));
    return text;
}

// The server program with its standard output and error in pipes.
class ServerProcess {
public:
    explicit ServerProcess(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), QUINTORA_SERVER_BINARY);
        int out[2], err[2];
        EXPECT_EQ(pipe(out), 0);
        EXPECT_EQ(pipe(err), 0);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            std::vector<char*> argv;
            for (std::string& argument : arguments) argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~ServerProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
        close(err_);
    }

    // The first line of standard output, waiting at most 30 s for it.
    std::string firstLine() {
        std::string line;
        char c = 0;
        while (line.find('\n') == std::string::npos) {
            pollfd ready{out_, POLLIN, 0};
            if (poll(&ready, 1, 30'000) <= 0 || read(out_, &c, 1) != 1) break;
            line += c;
        }
        return line;
    }
    // Sends `signal` (if any) and gives the exit status; standard error is then in `errors`.
    int finish(int signal = 0) {
        if (signal != 0) kill(pid_, signal);
        errors = readAll(err_);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    std::string errors;

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
};

TEST(ServerProcess, AnnouncesItsAddressServesAndStopsCleanlyOnEachSignal) {
    TempDir dir;
    const std::string db = "sqlite:" + (dir.path() / "nested" / "scores.db").string();
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        ServerProcess server({"--listen", "127.0.0.1:0", "--db", db});
        std::smatch match;
        const std::string line = server.firstLine();
        ASSERT_TRUE(std::regex_match(line, match, std::regex("listening on (http://127\\.0\\.0\\.1:[0-9]+)\n"))) << line;
        const std::string url = match[1];
        EXPECT_EQ(httpRequest(url + "/healthz", nullptr).status, 200);
        const std::string body = formBody(scoreFields(std::string(kGameName), "Pro", "Ann", std::to_string(signal)));
        EXPECT_EQ(httpRequest(url + "/api/post-score", &body).body, "OK");
        // Every score posted so far, this run's and the last one's, is there.
        const auto rows = parseScores(httpRequest(url + "/api/get-scores?gamename=Quintora&category=Pro", nullptr).body);
        EXPECT_EQ(rows.size(), signal == SIGTERM ? 1u : 2u);
        EXPECT_EQ(server.finish(signal), 0);
        EXPECT_NE(server.errors.find("127.0.0.1 \"POST /api/post-score\" 200 2\n"), std::string::npos) << server.errors;
    }
}

TEST(ServerProcess, RefusesABadCommandLineWithStatusTwo) {
    const std::vector<std::vector<std::string>> commandLines = {
        {"--bogus"}, {"--listen", "localhost"}, {"--listen", "127.0.0.1:70000"}, {"--rate", "-1"},
        {"--rate", "many"}, {"--game", "nokey"}, {"--game", ":key"}, {"extra"},
    };
    for (const auto& arguments : commandLines) {
        SCOPED_TRACE(arguments[0]);
        ServerProcess server(arguments);
        EXPECT_EQ(server.finish(), 2);
        EXPECT_NE(server.errors.find("quintora-server: "), std::string::npos) << server.errors;
    }
    ServerProcess help({"--help"});
    const std::string usage = help.firstLine();
    EXPECT_EQ(help.finish(), 0);
    EXPECT_NE(usage.find("score server"), std::string::npos) << usage;
}

TEST(ServerProcess, RefusesToStartOnAFileThatIsNotADatabase) {
    TempDir dir;
    const std::filesystem::path file = dir.path() / "notes.txt";
    std::string text;
    for (int i = 0; i < 200; ++i) text += "These are someone's notes, not scores. ";
    std::ofstream(file) << text;
    ServerProcess server({"--listen", "127.0.0.1:0", "--db", "sqlite:" + file.string()});
    EXPECT_EQ(server.finish(), 1);
    EXPECT_NE(server.errors.find(file.string()), std::string::npos) << server.errors;
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
    EXPECT_EQ(std::filesystem::directory_iterator(dir.path())->path(), file);  // no journal or WAL left beside it
}

} // namespace
} // namespace quintora::server::testing
