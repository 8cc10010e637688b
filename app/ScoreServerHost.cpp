#include "app/ScoreServerHost.hpp"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "online/ScoreServerAddress.hpp"
#include "platform/ChildProcess.hpp"
#include "platform/Log.hpp"
#include "platform/UserDefaults.hpp"

namespace quintora {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "quintora-server";
constexpr std::string_view kListening = "listening on ";
// A server that has not said where it listens by then is taken as one that will not.
constexpr auto kStartTimeout = std::chrono::seconds(5);

}  // namespace

ScoreServerHost& ScoreServerHost::shared() {
    static ScoreServerHost host;
    return host;
}

ScoreServerHost::~ScoreServerHost() = default;

void ScoreServerHost::configure(std::string givenAddress) {
    while (!givenAddress.empty() && givenAddress.back() == '/') givenAddress.pop_back();
    givenAddress_ = std::move(givenAddress);
    tried_ = false;
    setScoreServerAddress(givenAddress_);
}

void ScoreServerHost::ensureStarted() {
    if (!givenAddress_.empty()) return;
    if (server_ && server_->isRunning()) return;
    // One try per start of the game: a server that failed once would only fail again, each time keeping
    // the ranking waiting for it.
    if (tried_) return;
    tried_ = true;
    setScoreServerAddress("");
    starting_ = startBundled();
    while (starting_ && startWithinTheFrame_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        poll();
    }
}

void ScoreServerHost::stop() {
    server_.reset();
    starting_ = false;
    tried_ = false;
}

std::string ScoreServerHost::bundledServerPath() {
    const fs::path here = platform::executableDirectory();
    for (const fs::path& candidate : {here / kProgram, here.parent_path() / "server" / kProgram}) {
        if (fs::exists(candidate)) return candidate.string();
    }
    return {};
}

bool ScoreServerHost::startBundled() {
    const std::string program = bundledServerPath();
    if (program.empty()) {
        platform::log("score server: no quintora-server found beside the game");
        return false;
    }
    const fs::path folder = platform::dataDirectory();
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    const std::string output = (folder / "score-server.log").string();
    std::string error;
    const std::vector<std::string> arguments{"--listen", "127.0.0.1:0", "--db",
                                             "sqlite:" + (folder / "scores.sqlite3").string()};
    server_ = platform::ChildProcess::start(program, arguments, output, &error);
    if (!server_) {
        platform::logf("score server: cannot start: %s", error.c_str());
        return false;
    }
    output_ = output;
    startDeadline_ = std::chrono::steady_clock::now() + kStartTimeout;
    return true;
}

void ScoreServerHost::poll() {
    if (!starting_) return;
    // The server says where it listens in its first line of standard output; its error output shares the
    // file, so the line is looked for among every whole line written so far.
    std::ifstream in(output_);
    for (std::string line; std::getline(in, line) && !in.eof();) {
        if (!line.starts_with(kListening)) continue;
        starting_ = false;
        setScoreServerAddress(line.substr(kListening.size()));
        platform::logf("score server: started at %s", scoreServerAddress().c_str());
        return;
    }
    if (server_->isRunning() && std::chrono::steady_clock::now() < startDeadline_) return;
    platform::logf("score server: did not start; see %s", output_.c_str());
    server_.reset();
    starting_ = false;
}

}  // namespace quintora
