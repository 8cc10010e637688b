#include "app/automation/ScriptPlayer.hpp"

#include <cstdio>

#include "engine/AlertView.hpp"
#include "engine/Director.hpp"
#include "engine/EAGLView.hpp"
#include "platform/Image.hpp"
#include "platform/Log.hpp"

namespace quintora {
namespace {

// A script's finger; the mouse is 0.
constexpr long kScriptTouch = 1;

platform::InputPhase phaseOf(script::TouchKind kind) {
    switch (kind) {
        case script::TouchKind::Began:
            return platform::InputPhase::Began;
        case script::TouchKind::Moved:
            return platform::InputPhase::Moved;
        case script::TouchKind::Ended:
            break;
    }
    return platform::InputPhase::Ended;
}

// Held in landscape, the view reports a scene point (x, y) as (y, x).
void sceneTouch(platform::InputSink& input, platform::InputPhase phase, float x, float y) {
    input.touch(phase, kScriptTouch, y, x);
}

}  // namespace

bool answerShownAlert(int index) {
    AlertView* shown = Director::sharedDirector().shownAlert();
    if (shown == nullptr) {
        platform::logf("script: no alert is shown for button %d", index);
        return false;
    }
    if (index < 0 || index >= shown->numberOfButtons()) {
        platform::logf("script: the alert shown has no button %d", index);
        return false;
    }
    shown->dismissWithClickedButtonIndex(index);
    return true;
}

void ScriptPlayer::deliver(long frame, platform::InputSink& input) {
    while (!pending_.empty() && pending_.front().first <= frame) {
        const ScriptAction action = pending_.front().second;
        pending_.pop_front();
        deliver(action, frame, input);
    }
    while (next_ < script_.size() && script_[next_].frame <= frame) {
        deliver(script_[next_].action, frame, input);
        ++next_;
    }
}

void ScriptPlayer::deliver(const ScriptAction& action, long frame, platform::InputSink& input) {
    using namespace script;
    if (const auto* t = std::get_if<script::Touch>(&action)) {
        sceneTouch(input, phaseOf(t->kind), t->x, t->y);
    } else if (const auto* tap = std::get_if<Tap>(&action)) {
        sceneTouch(input, platform::InputPhase::Began, tap->x, tap->y);
        pending_.emplace_back(frame + 1, script::Touch{TouchKind::Ended, tap->x, tap->y});
    } else if (const auto* tilt = std::get_if<Tilt>(&action)) {
        tilt_ = Acceleration{tilt->x, tilt->y, tilt->z, 0};
    } else if (const auto* typed = std::get_if<Text>(&action)) {
        input.text(typed->text);
    } else if (const auto* pressed = std::get_if<script::Key>(&action)) {
        input.key(pressed->key, true);
        input.key(pressed->key, false);
    } else if (const auto* turned = std::get_if<Wheel>(&action)) {
        input.wheel(turned->lines);
    } else if (const auto* focus = std::get_if<script::Focus>(&action)) {
        input.focusChanged(focus->active);
    } else if (const auto* alert = std::get_if<Alert>(&action)) {
        if (answerShownAlert(alert->index) && alertAnswered_) alertAnswered_(alert->index);
    } else if (const auto* shot = std::get_if<Screenshot>(&action)) {
        screenshots_.push_back(shot->path);
    } else if (std::holds_alternative<Quit>(action)) {
        input.quitRequested();
    }
}

void ScriptPlayer::takeScreenshots(long frame) {
    if (screenshots_.empty()) return;
    EAGLView* view = Director::sharedDirector().openGLView();
    for (const std::string& path : screenshots_) {
        if (view == nullptr || !platform::writePng(path, view->snapshotLandscape())) {
            std::fprintf(stderr, "quintora: frame %ld: cannot write screenshot %s\n", frame, path.c_str());
        }
    }
    screenshots_.clear();
}

}  // namespace quintora
