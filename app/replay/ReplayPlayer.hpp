#pragma once
// Plays a replay back into the game: the run starts from the recorded state on the replay's first frame,
// each frame gets its recorded inputs and its recorded clock step, and what the run does (its seeds, its
// stages, its end, its time) is held against what was recorded. The verdict says whether the re-play is
// the run the replay claims.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/Accelerometer.hpp"
#include "engine/Object.hpp"
#include "flow/ChangeClass.hpp"
#include "flow/RunObserver.hpp"
#include "platform/Window.hpp"
#include "replay/Replay.hpp"

namespace quintora {

// Where the recorded inputs go: the same places the desktop's inputs went when the run was played.
class RecordedInputSink {
  public:
    virtual ~RecordedInputSink() = default;
    virtual void recordedTouch(int phase, long id, float viewX, float viewY) = 0;
    virtual void recordedKey(platform::Key key, bool pressed) = 0;
    virtual void recordedFocus(bool active) = 0;
    virtual void recordedPauseToggle() = 0;
    virtual void recordedAlertAnswer(int button) = 0;
};

struct ReplayVerdict {
    // "verified"; else "invalid" (no replay, or a broken one), "other-version" (of another build),
    // "implausible-timing" (frame times no display gives) or "mismatch" (re-played, it is another run).
    std::string verdict;
    std::string reason;  // why, when not verified
    int level = 0;
    float time = 0;  // as re-played
    int stages = 0;
    int wins = 0;
    std::size_t frames = 0;
    bool played = false;  // the replay was read and re-played: level to frames hold its figures

    // One line of JSON.
    [[nodiscard]] std::string json() const;
};

// The verdict on bytes that are no replay of this build.
[[nodiscard]] ReplayVerdict unreadableVerdict(const replay::ReadError& error);

class ReplayPlayer : public RunObserver {
  public:
    explicit ReplayPlayer(replay::Replay replay) : replay_(std::move(replay)) {}

    // The clock the game must stand at before it starts, so that the run's first step comes out as recorded.
    [[nodiscard]] std::int64_t startMicros() const { return replay_.startMicros; }
    // The frame's input phase: on the first frame the run starts; then the frame's inputs are delivered.
    void deliver(RecordedInputSink& input);
    // The clock for the frame about to run.
    [[nodiscard]] std::int64_t frameClock() const { return clock_; }
    // The frame has run; `paused` says whether the game stood still in it.
    void frameDone(bool paused);
    // The tilt the game is held at, once the replay has given one.
    [[nodiscard]] const std::optional<Acceleration>& tilt() const { return tilt_; }
    // Every recorded frame has run, or the run ended.
    [[nodiscard]] bool isOver() const {
        return frame_ >= replay_.frameSteps.size() || (ended_ && frame_ > endFrame_);
    }
    [[nodiscard]] std::size_t frame() const { return frame_; }
    [[nodiscard]] std::size_t frameCount() const { return replay_.frameSteps.size(); }
    [[nodiscard]] std::int64_t frameStep() const;
    [[nodiscard]] ReplayVerdict verdict() const;

    // RunObserver
    void runStarting(const GameState&) override {}
    void randomSeeded(std::int64_t seed) override;
    void stageBooked(int number, bool won) override;
    void runEnded(const GameState& state) override;

  private:
    [[nodiscard]] std::optional<std::string> implausibleTiming() const;

    replay::Replay replay_;
    Ref<ChangeClass> run_;
    std::size_t frame_ = 0;
    std::size_t nextInput_ = 0;
    std::int64_t clock_ = 0;
    std::optional<Acceleration> tilt_;
    // What the re-play did.
    std::size_t seedsRead_ = 0;
    bool seedsDiffer_ = false;
    replay::Replay replayed_;
    bool ended_ = false;
    std::size_t endFrame_ = 0;
    // The frames the game ran in (not paused), for the frame rate.
    std::int64_t runningMicros_ = 0;
    std::size_t runningFrames_ = 0;
    bool impossibleStep_ = false;
};

}  // namespace quintora
