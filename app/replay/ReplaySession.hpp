#pragma once
// A replay played in the game: watched in the window (with its mark, pause, four times the speed and the
// records screen at its end) or verified without drawing. While it plays it is the run observer and the
// navigation, and the game's clock, inputs and tilt come from it.
#include <cstdint>
#include <memory>
#include <optional>

#include "app/replay/ReplayNavigation.hpp"
#include "app/replay/ReplayPlayer.hpp"
#include "app/replay/RunRecorder.hpp"
#include "engine/Label.hpp"

namespace quintora {

class ReplaySession {
  public:
    using Use = ReplayNavigation::Use;
    ReplaySession(const Navigation& screens, RunRecorder& recorder, Use use)
        : screens_(screens), recorder_(recorder), navigation_(screens, use), use_(use) {}
    ~ReplaySession() {
        if (player_) stop();
    }
    ReplaySession(const ReplaySession&) = delete;
    ReplaySession& operator=(const ReplaySession&) = delete;

    // Starts the replay's run from the menu, with the clock where the run's first step counts from.
    void start(replay::Replay replay);
    // Once a frame, before its inputs: a screen's request to watch a replay, and the way back to the menu
    // a few seconds after a watched run ended.
    void poll(long frame);

    [[nodiscard]] bool isActive() const { return player_ != nullptr; }
    // Active and not paused by the viewer: the frame runs.
    [[nodiscard]] bool isRunning() const { return player_ != nullptr && !paused_; }
    void deliver(RecordedInputSink& input) { player_->deliver(input); }
    [[nodiscard]] std::int64_t frameClock() const { return player_->frameClock(); }
    [[nodiscard]] Acceleration tilt() const { return player_->tilt().value_or(Acceleration{}); }
    // How long the frame about to run lasted when played, at the watching speed.
    [[nodiscard]] double frameSeconds() const;
    // The frame has run.
    void frameDone(long frame);
    // A key pressed while watching: Space pauses, F plays four times as fast, Escape leaves for the menu.
    // False for any other key.
    bool key(platform::Key key);
    // Once a replay has played to its end.
    [[nodiscard]] const std::optional<ReplayVerdict>& verdict() const { return verdict_; }

  private:
    // The frames a watched run's records screen stays before the menu comes back.
    static constexpr long kRunEndFrames = 240;

    void stop();
    void showState();

    const Navigation& screens_;
    RunRecorder& recorder_;
    ReplayNavigation navigation_;
    const Use use_;
    std::unique_ptr<ReplayPlayer> player_;
    std::optional<ReplayVerdict> verdict_;
    bool paused_ = false;
    bool fast_ = false;
    long menuAtFrame_ = 0;
    Ref<Node> mark_;
    Ref<Label> markLabel_;
};

}  // namespace quintora
