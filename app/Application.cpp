#include "app/Application.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/ScoreServerHost.hpp"
#include "app/desktop/Keyboard.hpp"
#include "app/screens/MenuScene.hpp"
#include "engine/Accelerometer.hpp"
#include "engine/AlertView.hpp"
#include "engine/Director.hpp"
#include "engine/EAGLView.hpp"
#include "flow/RunObserver.hpp"
#include "platform/Audio.hpp"
#include "platform/Clock.hpp"
#include "platform/Log.hpp"
#include "platform/Resources.hpp"
#include "platform/UrlConnection.hpp"
#include "platform/UserDefaults.hpp"

namespace quintora {
namespace {

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::int64_t wallMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The clock the game runs on (virtual in automation), in seconds.
double clockSeconds() {
    const auto now = platform::timeOfDay();
    return now ? static_cast<double>(now->seconds) + now->microseconds / 1e6 : 0;
}

TouchPhase touchPhase(int phase) {
    return phase >= 0 && phase <= 3 ? static_cast<TouchPhase>(phase) : TouchPhase::Cancelled;
}

TouchPhase touchPhase(platform::InputPhase phase) {
    switch (phase) {
        case platform::InputPhase::Began:
            return TouchPhase::Began;
        case platform::InputPhase::Moved:
            return TouchPhase::Moved;
        case platform::InputPhase::Ended:
            return TouchPhase::Ended;
        case platform::InputPhase::Cancelled:
            break;
    }
    return TouchPhase::Cancelled;
}

}  // namespace

Application::Application(Options options, std::vector<ScriptEvent> script,
                         std::optional<replay::Replay> replay)
    : options_(std::move(options)), script_(std::move(script)), replayToStart_(std::move(replay)) {
    script_.onAlertAnswered([this](int button) { recorder_.alertAnswer(button); });
}

Application::~Application() {
    replay_.reset();  // gives the navigation back to the screens
    if (runObserver() == &recorder_) setRunObserver(nullptr);
}

ReplayVerdict Application::verdict() const {
    if (replay_ && replay_->verdict()) return *replay_->verdict();
    return {.verdict = "invalid", .reason = "the replay was not played"};
}

int Application::run() {
    const bool verifying = !options_.verifyPath.empty();
    // The game reads one clock, which moves once a frame: by the frame interval under automation, by
    // the time that passed when played, by the recorded step in a replay.
    platform::useVirtualClock(options_.virtualClock ? options_.epoch : wallMicros() / 1000000);
    if (!options_.virtualClock) platform::setVirtualClockMicros(liveStartMicros_ = wallMicros());
    liveStartSteady_ = steadySeconds();
    if (replayToStart_) platform::setVirtualClockMicros(replayToStart_->startMicros);
    if (!options_.dataDir.empty()) platform::setDataDirectory(options_.dataDir);
    const char* fromEnvironment = std::getenv("QUINTORA_SCORE_SERVER");
    ScoreServerHost::shared().configure(!options_.scoreServer.empty() ? options_.scoreServer
                                        : fromEnvironment             ? fromEnvironment
                                                                      : "");
    // Like every exchange under the virtual clock, the bundled server's start takes no game time.
    ScoreServerHost::shared().startWithinTheFrame(options_.virtualClock);
    if (options_.headless || verifying) {
        platform::disableAudio();
        if (verifying) platform::keepGraphicsInProcess();
        display_ = platform::openHeadlessDisplay(options_.effectiveScale());
        if (!display_) {
            std::fprintf(stderr, "quintora: no OpenGL ES 1.1 context could be made without a window\n");
            return 1;
        }
    } else {
        std::string error;
        platform::WindowOptions windowOptions;
        windowOptions.scale = options_.effectiveScale();
        windowOptions.fullscreen = options_.fullscreen;
        windowOptions.iconFile = platform::resourcePath("icon64.png");
        auto window = platform::Window::open(windowOptions, &error);
        if (!window) {
            std::fprintf(stderr, "quintora: %s; run with --headless to play without a window\n",
                         error.c_str());
            return 1;
        }
        window_ = window.get();
        display_ = std::move(window);
        controllers_ = std::make_unique<platform::Controllers>();
    }
    if (!verifying) sound_.load(options_.mute);

    delegate_.applicationDidFinishLaunching(display_.get());
    Director& director = Director::sharedDirector();
    replay_.emplace(navigation(), recorder_,
                    verifying ? ReplaySession::Use::Verify : ReplaySession::Use::Watch);
    if (verifying) director.setDrawing(false);
    setRunObserver(&recorder_);
    if (replayToStart_) replay_->start(std::move(*replayToStart_));
    nextFrameAt_ = steadySeconds();
    lastWall_ = wallSeconds();
    lastSteady_ = nextFrameAt_;
    for (long frame = 1;; ++frame) {
        platform::setLogFrame(frame);
        if (window_) window_->pollEvents(*this);
        replay_->poll(frame);
        const bool replayRuns = replaying() && replay_->isRunning();
        // A script's events still come while a replay is watched: its keys control the watching.
        script_.deliver(frame, *this);
        if (replayRuns) replay_->deliver(*this);
        if (quit_) break;
        if (!replaying()) pollController();
        deliverTilt();
        pollNetwork();
        sound_.update(clockSeconds());
        if (!replaying() || replayRuns) {
            moveClock();
            if (director.isAnimating()) director.mainLoop();
        }
        if (replayRuns) replay_->frameDone(frame);
        // A run left for the menu (from the pause box) is not kept.
        if (recorder_.isRecording() && runningSceneChild<MenuLayer>() != nullptr) recorder_.abandon();
        script_.takeScreenshots(frame);
        if (options_.frames && frame >= *options_.frames) break;
        if (!director.isAnimating()) break;  // the director was ended
        if (verifying && !replaying()) break;
        waitForNextFrame();
    }
    delegate_.applicationWillTerminate();
    ScoreServerHost::shared().stop();
    return 0;
}

void Application::moveClock() {
    if (replaying()) {
        platform::setVirtualClockMicros(replay_->frameClock());
    } else if (options_.virtualClock) {
        platform::advanceVirtualClock(Director::sharedDirector().animationInterval());
    } else {
        // Played, the clock follows the steady clock from the time of day at start: a wall clock set by hand
        // or a suspend cannot make one huge frame. The jump is still told, as the phone told it.
        const double wall = wallSeconds(), steady = steadySeconds();
        if (std::fabs((wall - lastWall_) - (steady - lastSteady_)) > 1.0)
            delegate_.applicationSignificantTimeChange();
        lastWall_ = wall;
        lastSteady_ = steady;
        platform::setVirtualClockMicros(
            liveStartMicros_ + static_cast<std::int64_t>(std::llround((steady - liveStartSteady_) * 1e6)));
    }
    recorder_.frameClock(platform::virtualClockMicros());
}

// Replays

void Application::recordedTouch(int phase, long id, float viewX, float viewY) {
    deliverTouch(touchPhase(phase), id, {viewX, viewY});
}

void Application::recordedKey(platform::Key key, bool pressed) {
    keyRouter_.key(key, pressed, clockSeconds());
}

void Application::recordedFocus(bool active) { focusChanged(active); }

void Application::recordedPauseToggle() { pause_.toggle(); }

void Application::recordedAlertAnswer(int button) { answerShownAlert(button); }

void Application::pollNetwork() {
    ScoreServerHost::shared().poll();
    platform::pollUrlConnections();
    if (!options_.virtualClock) return;
    // Under the virtual clock an exchange takes no game time: it ends before the next frame, so that a run
    // answers on the same frames every time. Every exchange ends within its own timeout; the deadline
    // only guards against one that would not.
    const double deadline = steadySeconds() + 30;
    while (platform::activeUrlConnections() > 0 && steadySeconds() < deadline) {
        platform::waitForUrlConnections(50);
        platform::pollUrlConnections();
    }
}

void Application::waitForNextFrame() {
    // Automation without a window, and verifying, run as fast as they can; everything else keeps to the frame
    // rate, a replay to its recorded steps.
    if (!options_.verifyPath.empty()) return;
    if (options_.headless && (options_.virtualClock || replaying())) return;
    if (replaying() && replay_->isRunning()) {
        nextFrameAt_ += replay_->frameSeconds();
    } else {
        nextFrameAt_ += Director::sharedDirector().animationInterval();
    }
    const double now = steadySeconds();
    if (nextFrameAt_ < now - 0.25) nextFrameAt_ = now;  // fell far behind: start afresh
    if (nextFrameAt_ > now) std::this_thread::sleep_for(std::chrono::duration<double>(nextFrameAt_ - now));
}

// Input

void Application::touch(platform::InputPhase phase, long id, float viewX, float viewY) {
    if (replaying()) return;  // a replay is watched, not played
    if (id != kControllerTouch) controller_.otherInputUsed();
    deliverTouch(touchPhase(phase), id, {viewX, viewY});
}

void Application::deliverTouch(TouchPhase phase, long id, Point viewPoint) {
    EAGLView* view = Director::sharedDirector().openGLView();
    if (view == nullptr) return;
    recorder_.touch(static_cast<int>(phase), id, viewPoint.x, viewPoint.y);
    const TouchSet touches{Touch{id, viewPoint}};
    view->touches(phase, touches, TouchEvent{clockSeconds()});
}

void Application::key(platform::Key key, bool pressed) {
    if (replaying()) {
        if (!pressed) return;
        if (replay_->key(key)) {
            nextFrameAt_ = steadySeconds();
        } else {
            keyRouter_.key(key, true, clockSeconds());  // the volume keys still work
        }
        return;
    }
    recorder_.key(key, pressed);
    keyRouter_.key(key, pressed, clockSeconds());
    if (window_) window_->setTextInput(Keyboard::shared().receiver() != nullptr);
}

void Application::text(std::string_view utf8) {
    if (TextInputReceiver* receiver = Keyboard::shared().receiver()) receiver->insertText(utf8);
}

void Application::wheel(float lines) { Director::sharedDirector().scroll(lines); }

void Application::focusChanged(bool active) {
    if (active == active_) return;
    recorder_.focus(active);
    active_ = active;
    if (active) {
        // A stage paused by the focus loss waits for the player's answer in the pause box.
        if (!pause_.isShown()) delegate_.applicationDidBecomeActive();
    } else {
        delegate_.applicationWillResignActive();
        pause_.pauseStage();
    }
}

void Application::pollController() {
    if (!controllers_) return;
    const double now = steadySeconds();
    const double dt = lastControllerPoll_ > 0 ? std::min(now - lastControllerPoll_, 0.1) : 0;
    lastControllerPoll_ = now;
    const ControllerInput::Actions actions = controller_.update(controllers_->poll(), dt);
    controllerTilt_ = actions.tilt;
    if (actions.pause) {
        recorder_.pauseToggle();
        pause_.toggle();
    }
    for (const ControllerInput::PointerTouch& touch : actions.touches) {
        // Held in landscape, the view reports a scene point (x, y) as (y, x).
        deliverTouch(touch.phase, kControllerTouch, {touch.scenePoint.y, touch.scenePoint.x});
    }
    pointer_.update(controller_.pointerShown(), controller_.pointer());
}

void Application::deliverTilt() {
    Accelerometer& accelerometer = Accelerometer::sharedAccelerometer();
    if (window_) window_->setTextInput(Keyboard::shared().receiver() != nullptr);
    // A paused stage hears nothing, as a phone in the background feels no tilt.
    if (accelerometer.delegate() == nullptr || Director::sharedDirector().isPaused()) return;
    // A replay's tilt wins, then a script's, then a game controller's, then the arrow keys.
    Acceleration sample = keys_.sample();
    if (replaying()) {
        sample = replay_->tilt();
    } else if (script_.tilt()) {
        sample = *script_.tilt();
    } else if (controllerTilt_) {
        sample = *controllerTilt_;
    }
    recorder_.tilt(sample);
    sample.timestamp = clockSeconds();
    accelerometer.deliver(sample);
}

}  // namespace quintora
