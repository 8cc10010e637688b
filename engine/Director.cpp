#include "engine/Director.hpp"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "engine/AlertView.hpp"
#include "engine/CharMapLabel.hpp"
#include "engine/EAGLView.hpp"
#include "engine/Errors.hpp"
#include "engine/Layer.hpp"
#include "engine/Matrix.hpp"
#include "engine/Scene.hpp"
#include "engine/Scheduler.hpp"
#include "engine/SpriteBatch.hpp"

namespace quintora {

Director::Director() {
    static bool made = false;
    QASSERT(!made, "Attempted to allocate a second instance of a singleton.");
    made = true;
    eventHandlers_.reserve(8);
    scenesStack_.reserve(10);
}

Director& Director::sharedDirector() {
    static std::mutex creation;
    std::lock_guard lock(creation);
    static Director* instance = new Director();
    return *instance;
}

Scene* Director::runningScene() const { return runningScene_.get(); }

platform::TimeOfDay Director::now() const {
    const auto time = platform::timeOfDay();
    if (!time) throw EngineException("GetTimeOfDay", "GetTimeOfDay abnormal error");
    return *time;
}

// Scenes

void Director::runWithScene(Scene* scene) {
    QASSERT(scene != nullptr, "Argument must be non-nil");
    QASSERT(runningScene_ == nullptr,
            "You can't run an scene if another Scene is running. Use replaceScene or pushScene instead");
    pushScene(scene);
    startAnimation();
}

void Director::replaceScene(Scene* scene) {
    QASSERT(scene != nullptr, "Argument must be non-nil");
    if (scenesStack_.empty()) {
        scenesStack_.emplace_back(scene);
    } else {
        scenesStack_.back() = Ref<Scene>(scene);
    }
    nextScene_ = scene;
}

void Director::pushScene(Scene* scene) {
    QASSERT(scene != nullptr, "Argument must be non-nil");
    scenesStack_.emplace_back(scene);
    nextScene_ = scene;
}

void Director::popScene() {
    QASSERT(runningScene_ != nullptr, "A running Scene is needed");
    scenesStack_.pop_back();
    if (scenesStack_.empty()) {
        end();
    } else {
        nextScene_ = scenesStack_.back().get();
    }
}

void Director::end() {
    scenesStack_.clear();
    if (runningScene_) {
        runningScene_->onExit();
        runningScene_->cleanup();
        runningScene_ = nullptr;
    }
    nextScene_ = nullptr;
    eventHandlers_.clear();
    const std::vector<Ref<AlertView>> alerts = std::move(alerts_);
    alerts_.clear();
    for (const Ref<AlertView>& alert : alerts) {
        alert->onExit();
        alert->cleanup();
    }
    overlays_.clear();
    stopAnimation();
    if (attached_) detach();
}

void Director::setNextScene() {
    Ref<Scene> outgoing = std::move(runningScene_);
    if (outgoing) {
        outgoing->onExit();
        // A scene that has left the stack is done with: cleaning it up drops the timers and actions that
        // would otherwise keep its nodes alive for ever. A scene still on the stack may come back.
        const bool stillStacked =
            std::find(scenesStack_.begin(), scenesStack_.end(), outgoing.get()) != scenesStack_.end();
        if (!stillStacked) outgoing->cleanup();
    }
    runningScene_ = Ref<Scene>(nextScene_);
    nextScene_ = nullptr;
    if (runningScene_) runningScene_->onEnter();
}

// The frame

void Director::mainLoop() {
    prepareFrame();
    calculateDeltaTime();
    if (!paused_) Scheduler::sharedScheduler().tick(dt_);
    if (nextScene_ != nullptr) setNextScene();
    if (drawing_) presentFrame(drawScene());
}

void Director::redraw() {
    prepareFrame();
    SpriteBatch::shared().forgetLastFrame();
    drawScene();
}

bool Director::drawScene() {
    MatrixStack& stack = modelView();
    stack.push();
    if (landscape_) applyLandscape();
    if (runningScene_) runningScene_->visit();
    if (!alerts_.empty()) alerts_.back()->visit();
    for (const Ref<Node>& overlay : overlays_) overlay->visit();
    if (displayFPS_) showFPS();
    stack.pop();
    // A frame that shows just what the last one showed is neither drawn nor presented again, unless the
    // surface holding the last picture was rebuilt since.
    SpriteBatch& batch = SpriteBatch::shared();
    const int rebuilds = openGLView_ ? openGLView_->rebuildCount() : 0;
    if (rebuilds != surfaceRebuilds_) batch.forgetLastFrame();
    surfaceRebuilds_ = rebuilds;
    if (!batch.endFrame()) return false;
    clearBuffers();
    batch.draw();
    return true;
}

void Director::calculateDeltaTime() {
    const platform::TimeOfDay time = now();
    if (nextDeltaTimeZero_) {
        dt_ = 0;
        nextDeltaTimeZero_ = false;
    } else {
        dt_ = static_cast<float>(time.seconds - lastUpdate_.seconds) +
              static_cast<float>(time.microseconds - lastUpdate_.microseconds) / 1000000.0f;
        dt_ = std::max(0.0f, dt_);
    }
    lastUpdate_ = time;
}

void Director::pause() {
    if (paused_) return;
    oldAnimationInterval_ = animationInterval_;
    setAnimationInterval(1.0 / 4);
    paused_ = true;
}

void Director::resume() {
    if (!paused_) return;
    setAnimationInterval(oldAnimationInterval_);
    lastUpdate_ = now();
    paused_ = false;
    dt_ = 0;
}

void Director::setAnimationInterval(double seconds) {
    animationInterval_ = seconds;
    if (animating_) {
        stopAnimation();
        startAnimation();
    }
}

void Director::startAnimation() {
    QASSERT(!animating_, "animationTimer must be nil. Calling startAnimation twice?");
    lastUpdate_ = now();
    animating_ = true;
}

void Director::stopAnimation() { animating_ = false; }

// Screen geometry

void Director::setLandscape(bool landscape) { landscape_ = landscape; }

Size Director::winSize() const { return landscape_ ? Size{frameSize_.height, frameSize_.width} : frameSize_; }

Point Director::convertCoordinate(Point viewPoint) const {
    const float flippedY = std::trunc(frameSize_.height - viewPoint.y);
    return landscape_ ? Point{viewPoint.y, viewPoint.x} : Point{viewPoint.x, flippedY};
}

// Touches

void Director::addEventHandler(Layer* handler) {
    QASSERT(handler != nullptr, "Director.addEventHandler: delegate must be non nil");
    eventHandlers_.insert(eventHandlers_.begin(), Ref<Layer>(handler));
}

void Director::removeEventHandler(Layer* handler) {
    QASSERT(handler != nullptr, "Director.removeEventHandler: delegate must be non nil");
    std::erase(eventHandlers_, Ref<Layer>(handler));
}

void Director::touches(TouchPhase phase, const TouchSet& touches, const TouchEvent& event) {
    if (!eventsEnabled_) return;
    // An alert is modal: the layers underneath get nothing while it is up.
    if (!alerts_.empty()) {
        Ref<AlertView> top = alerts_.back();
        top->touches(phase, touches);
        return;
    }
    // Handlers may come and go while the event is being handed out.
    const std::vector<Ref<Layer>> snapshot = eventHandlers_;
    for (const Ref<Layer>& handler : snapshot) {
        bool handled = false;
        switch (phase) {
            case TouchPhase::Began:
                handled = handler->handleTouchesBegan(touches, event);
                break;
            case TouchPhase::Moved:
                handled = handler->handleTouchesMoved(touches, event);
                break;
            case TouchPhase::Ended:
                handled = handler->handleTouchesEnded(touches, event);
                break;
            case TouchPhase::Cancelled:
                handled = handler->handleTouchesCancelled(touches, event);
                break;
        }
        if (handled) break;
    }
}

void Director::scroll(float lines) {
    if (!eventsEnabled_ || !alerts_.empty()) return;
    const std::vector<Ref<Layer>> snapshot = eventHandlers_;
    for (const Ref<Layer>& handler : snapshot) {
        if (handler->handleScroll(lines)) break;
    }
}

// Alerts

void Director::showAlert(AlertView* alert) {
    QASSERT(alert != nullptr, "Director.showAlert: alert must be non nil");
    if (std::find(alerts_.begin(), alerts_.end(), alert) != alerts_.end()) return;
    alerts_.emplace_back(alert);
    alert->onEnter();
}

void Director::removeAlert(AlertView* alert) {
    QASSERT(alert != nullptr, "Director.removeAlert: alert must be non nil");
    const auto found = std::find(alerts_.begin(), alerts_.end(), alert);
    if (found == alerts_.end()) return;
    Ref<AlertView> keep = *found;
    alerts_.erase(found);
    keep->onExit();
    keep->cleanup();
}

void Director::addOverlay(Node* node) {
    QASSERT(node != nullptr, "Director.addOverlay: node must be non nil");
    if (std::find(overlays_.begin(), overlays_.end(), node) == overlays_.end()) overlays_.emplace_back(node);
}

void Director::removeOverlay(Node* node) {
    const auto found = std::find(overlays_.begin(), overlays_.end(), node);
    if (found != overlays_.end()) overlays_.erase(found);
}

AlertView* Director::shownAlert() const { return alerts_.empty() ? nullptr : alerts_.back().get(); }

}  // namespace quintora
