#pragma once
// The application loop: opens the window (or the headless display), calls the delegate's hooks, turns
// desktop and scripted input into touches, tilt, keys and text, moves the game's clock and calls the
// director's frame every animation interval, waiting in between. Every run is recorded; a replay given
// instead is watched (in a window) or verified (without drawing).
#include <memory>
#include <optional>
#include <vector>

#include "app/Options.hpp"
#include "app/QuintoraAppDelegate.hpp"
#include "app/automation/ScriptPlayer.hpp"
#include "app/desktop/ControllerInput.hpp"
#include "app/desktop/ControllerPointer.hpp"
#include "app/desktop/KeyRouter.hpp"
#include "app/desktop/PauseControl.hpp"
#include "app/desktop/SoundControl.hpp"
#include "app/desktop/TiltStandIn.hpp"
#include "app/replay/ReplayPlayer.hpp"
#include "app/replay/ReplaySession.hpp"
#include "app/replay/RunRecorder.hpp"
#include "platform/Controller.hpp"
#include "platform/Window.hpp"

namespace quintora {

class Application : public platform::InputSink, private RecordedInputSink {
  public:
    explicit Application(Options options, std::vector<ScriptEvent> script = {},
                         std::optional<replay::Replay> replay = {});
    ~Application() override;

    // Runs until quit, the last frame asked for, or the window closes. Returns the exit status.
    int run();

    // InputSink
    void touch(platform::InputPhase phase, long id, float viewX, float viewY) override;
    void key(platform::Key key, bool pressed) override;
    void text(std::string_view utf8) override;
    void focusChanged(bool active) override;
    void quitRequested() override { quit_ = true; }
    void lowMemory() override { delegate_.applicationDidReceiveMemoryWarning(); }
    void wheel(float lines) override;

    // Once a replay given to verify has run: whether it is the run it claims.
    [[nodiscard]] ReplayVerdict verdict() const;

  private:
    // The touch id of a controller's A button; the mouse is 0 and fingers count from 1.
    static constexpr long kControllerTouch = -2;

    // RecordedInputSink: what a replay delivers, the way the desktop delivered it.
    void recordedTouch(int phase, long id, float viewX, float viewY) override;
    void recordedKey(platform::Key key, bool pressed) override;
    void recordedFocus(bool active) override;
    void recordedPauseToggle() override;
    void recordedAlertAnswer(int button) override;

    // A replay is being watched or verified (the session exists once the game has started).
    [[nodiscard]] bool replaying() const { return replay_ && replay_->isActive(); }
    void deliverTouch(TouchPhase phase, long id, Point viewPoint);
    void moveClock();
    void deliverTilt();
    void pollNetwork();
    void pollController();
    void waitForNextFrame();

    Options options_;
    ScriptPlayer script_;
    std::unique_ptr<platform::Display> display_;
    platform::Window* window_ = nullptr;
    QuintoraAppDelegate delegate_;
    TiltStandIn keys_;
    std::optional<Acceleration> controllerTilt_;
    PauseControl pause_;
    SoundControl sound_;
    KeyRouter keyRouter_{pause_, sound_, keys_};
    std::unique_ptr<platform::Controllers> controllers_;  // in a window only
    ControllerInput controller_;
    ControllerPointer pointer_;
    double lastControllerPoll_ = 0;
    RunRecorder recorder_;
    std::optional<replay::Replay> replayToStart_;
    std::optional<ReplaySession> replay_;  // made at start-up, once the screens are there
    std::int64_t liveStartMicros_ = 0;
    double liveStartSteady_ = 0;
    bool quit_ = false;
    bool active_ = true;
    double nextFrameAt_ = 0;
    double lastWall_ = 0;
    double lastSteady_ = 0;
};

}  // namespace quintora
