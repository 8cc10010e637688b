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

// The clock the game runs on (virtual in automation), in seconds.
double clockSeconds() {
    const auto now = platform::timeOfDay();
    return now ? static_cast<double>(now->seconds) + now->microseconds / 1e6 : 0;
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

Application::Application(Options options, std::vector<ScriptEvent> script)
    : options_(std::move(options)), script_(std::move(script)) {}

Application::~Application() = default;

int Application::run() {
    if (options_.virtualClock) platform::useVirtualClock(options_.epoch);
    if (!options_.dataDir.empty()) platform::setDataDirectory(options_.dataDir);
    const char* fromEnvironment = std::getenv("QUINTORA_SCORE_SERVER");
    ScoreServerHost::shared().configure(!options_.scoreServer.empty() ? options_.scoreServer
                                        : fromEnvironment             ? fromEnvironment
                                                                      : "");
    // Like every exchange under the virtual clock, the bundled server's start takes no game time.
    ScoreServerHost::shared().startWithinTheFrame(options_.virtualClock);
    if (options_.headless) {
        platform::disableAudio();
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
    sound_.load(options_.mute);

    delegate_.applicationDidFinishLaunching(display_.get());
    Director& director = Director::sharedDirector();
    nextFrameAt_ = steadySeconds();
    lastWall_ = wallSeconds();
    lastSteady_ = nextFrameAt_;
    for (long frame = 1;; ++frame) {
        platform::setLogFrame(frame);
        if (window_) window_->pollEvents(*this);
        script_.deliver(frame, *this);
        if (quit_) break;
        pollController();
        deliverTilt();
        pollNetwork();
        sound_.update(clockSeconds());
        if (options_.virtualClock) {
            platform::advanceVirtualClock(director.animationInterval());
        } else {
            // A wall clock that jumps (set by hand, or after a suspend) would make one huge frame.
            const double wall = wallSeconds(), steady = steadySeconds();
            if (std::fabs((wall - lastWall_) - (steady - lastSteady_)) > 1.0)
                delegate_.applicationSignificantTimeChange();
            lastWall_ = wall;
            lastSteady_ = steady;
        }
        if (director.isAnimating()) director.mainLoop();
        script_.takeScreenshots(frame);
        if (options_.frames && frame >= *options_.frames) break;
        if (!director.isAnimating()) break;  // the director was ended
        waitForNextFrame();
    }
    delegate_.applicationWillTerminate();
    ScoreServerHost::shared().stop();
    return 0;
}

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
    // Automation without a window runs as fast as it can; everything else keeps to the frame rate.
    if (options_.headless && options_.virtualClock) return;
    nextFrameAt_ += Director::sharedDirector().animationInterval();
    const double now = steadySeconds();
    if (nextFrameAt_ < now - 0.25) nextFrameAt_ = now;  // fell far behind: start afresh
    if (nextFrameAt_ > now) std::this_thread::sleep_for(std::chrono::duration<double>(nextFrameAt_ - now));
}

// Input

void Application::touch(platform::InputPhase phase, long id, float viewX, float viewY) {
    if (id != kControllerTouch) controller_.otherInputUsed();
    EAGLView* view = Director::sharedDirector().openGLView();
    if (view == nullptr) return;
    const TouchSet touches{Touch{id, {viewX, viewY}}};
    view->touches(touchPhase(phase), touches, TouchEvent{steadySeconds()});
}

void Application::key(platform::Key key, bool pressed) {
    keyRouter_.key(key, pressed, clockSeconds());
    if (window_) window_->setTextInput(Keyboard::shared().receiver() != nullptr);
}

void Application::text(std::string_view utf8) {
    if (TextInputReceiver* receiver = Keyboard::shared().receiver()) receiver->insertText(utf8);
}

void Application::wheel(float lines) { Director::sharedDirector().scroll(lines); }

void Application::focusChanged(bool active) {
    if (active == active_) return;
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
    if (actions.pause) pause_.toggle();
    for (const ControllerInput::PointerTouch& touch : actions.touches) {
        // Held in landscape, the view reports a scene point (x, y) as (y, x).
        EAGLView* view = Director::sharedDirector().openGLView();
        if (view == nullptr) break;
        const TouchSet touches{Touch{kControllerTouch, {touch.scenePoint.y, touch.scenePoint.x}}};
        view->touches(touch.phase, touches, TouchEvent{now});
    }
    pointer_.update(controller_.pointerShown(), controller_.pointer());
}

void Application::deliverTilt() {
    Accelerometer& accelerometer = Accelerometer::sharedAccelerometer();
    if (window_) window_->setTextInput(Keyboard::shared().receiver() != nullptr);
    // A paused stage hears nothing, as a phone in the background feels no tilt.
    if (accelerometer.delegate() == nullptr || Director::sharedDirector().isPaused()) return;
    // A script's tilt wins, then a game controller's, then the arrow keys.
    Acceleration sample = keys_.sample();
    if (script_.tilt()) {
        sample = *script_.tilt();
    } else if (controllerTilt_) {
        sample = *controllerTilt_;
    }
    sample.timestamp = steadySeconds();
    accelerometer.deliver(sample);
}

}  // namespace quintora
