#pragma once
// Where the world ranking finds its score server: the address given with --score-server or in
// QUINTORA_SCORE_SERVER, or else the quintora-server program that comes with the game, started on 127.0.0.1
// the first time the ranking screen opens, with its store in the data folder, and stopped when the game
// ends. When none can be had the address stays empty and every exchange fails as without a network.
//
// Starting the bundled server takes a moment: it is started without waiting, and the application loop
// calls poll() once per frame until the server has said where it listens, so no frame is held up.
#include <chrono>
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
    // Makes sure the score clients will have an address, starting the bundled server if that is the way.
    // Returns at once; while isStarting() the address is not known yet.
    void ensureStarted();
    // Looks, without waiting, whether a starting server has said where it listens (or given up).
    void poll();
    // Under automation the start is waited for within ensureStarted, so that a run does the same on the
    // same frames every time.
    void startWithinTheFrame(bool wait) { startWithinTheFrame_ = wait; }
    // The bundled server has been started and has not yet said where it listens.
    [[nodiscard]] bool isStarting() const { return starting_; }
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
    bool starting_ = false;
    bool startWithinTheFrame_ = false;
    std::string output_;  // the bundled server's standard output and error
    std::chrono::steady_clock::time_point startDeadline_;
    std::unique_ptr<platform::ChildProcess> server_;
};

}  // namespace quintora
