#pragma once
// Where the world ranking finds its score server: the address given with --score-server or in
// QUINTORA_SCORE_SERVER, or else the quintora-server program that comes with the game, started on 127.0.0.1
// the first time the ranking screen opens, with its store in the data folder, and stopped when the game
// ends. When none can be had the address stays empty and every exchange fails as without a network.
#include <memory>
#include <string>

namespace quintora {

namespace platform {
class ChildProcess;
}

class ScoreServerHost {
public:
    static ScoreServerHost& shared();

    // An address given by the player; empty leaves the choice to the bundled server.
    void configure(std::string givenAddress);
    // Makes sure the score clients have an address, starting the bundled server if that is the way.
    void ensureStarted();
    // Stops the bundled server, if it runs; the next ensureStarted starts it again.
    void stop();

    // Where the bundled server's program is looked for: beside the game, then in the build tree.
    [[nodiscard]] static std::string bundledServerPath();

private:
    ScoreServerHost() = default;
    ~ScoreServerHost();
    bool startBundled();

    std::string givenAddress_;
    bool tried_ = false;
    std::unique_ptr<platform::ChildProcess> server_;
};

}  // namespace quintora
