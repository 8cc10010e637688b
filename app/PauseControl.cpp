#include "app/PauseControl.hpp"

#include "app/GameState.hpp"
#include "app/MenuScene.hpp"
#include "app/MiniGameLayer.hpp"
#include "app/PracticeScene.hpp"
#include "engine/Director.hpp"
#include "platform/Log.hpp"

namespace quintora {

bool PauseControl::pauseStage() {
    if (isShown()) return true;
    if (runningStage() == nullptr) return false;
    Director::sharedDirector().pause();
    platform::log("paused");
    const bool practice = game().practice;
    box_ = AlertView::alertWithTitle(
        "Paused", practice ? "This practice stage waits for you." : "The stage waits for you.",
        [this](AlertView&, int index) { answer(index); }, "Resume", {practice ? "Stages" : "Main Menu"});
    box_->show();
    return true;
}

bool PauseControl::toggle() {
    if (isShown()) {
        box_->dismissWithClickedButtonIndex(kResume);
        return true;
    }
    return pauseStage();
}

void PauseControl::answer(int buttonIndex) {
    box_ = nullptr;
    Director& director = Director::sharedDirector();
    if (buttonIndex == kLeave) {
        // The stage is dropped before its result: nothing is booked, as if it had never started.
        platform::log("left the stage");
        if (game().practice) {
            director.replaceScene(PracticeScene::node().get());
        } else {
            director.replaceScene(MenuScene::node().get());
        }
    } else {
        platform::log("resumed");
    }
    director.resume();
}

}  // namespace quintora
