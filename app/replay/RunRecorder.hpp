#pragma once
// Records every run, from its start to the records screen, as a replay: the state it started from, each
// frame's clock step, the inputs delivered to the game with their frames, and the seeds, stages and time
// that came out. It hears the run through the run observer and the inputs from the application, at the
// places where they enter the game; the stages know nothing of it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/Accelerometer.hpp"
#include "flow/RunObserver.hpp"
#include "platform/Window.hpp"
#include "replay/Replay.hpp"

namespace quintora {

class RunRecorder : public RunObserver {
  public:
    // RunObserver
    void runStarting(const GameState& state) override;
    void randomSeeded(std::int64_t seed) override;
    void stageBooked(int number, bool won) override;
    void runEnded(const GameState& state) override;

    // The inputs, as the application delivers them to the game.
    void touch(int phase, long id, float viewX, float viewY);
    void key(platform::Key key, bool pressed);
    void focus(bool active);
    void pauseToggle();
    void alertAnswer(int button);
    void tilt(const Acceleration& sample);
    // The clock has moved to this instant for the frame about to run.
    void frameClock(std::int64_t micros);
    // The run was left for the menu: nothing of it is kept.
    void abandon();

    [[nodiscard]] bool isRecording() const { return recording_; }
    // The last finished run, encoded; empty before the first.
    [[nodiscard]] const std::vector<std::uint8_t>& lastRun() const { return lastRun_; }

  private:
    // False, and the run no longer recorded, once `used` reaches what a replay holds.
    bool hasRoom(std::size_t used, std::size_t bound);
    void add(replay::Input input);

    bool recording_ = false;
    bool cutShort_ = false;  // the run outgrew a replay: no replay of it is kept
    replay::Replay replay_;
    std::int64_t lastMicros_ = 0;
    std::optional<Acceleration> lastTilt_;
    std::vector<std::uint8_t> lastRun_;
};

}  // namespace quintora
