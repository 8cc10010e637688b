#include "app/desktop/PauseControl.hpp"

#include "app/screens/MenuScene.hpp"
#include "app/screens/PracticeScene.hpp"
#include "engine/Director.hpp"
#include "flow/GameState.hpp"
#include "flow/MiniGameLayer.hpp"
#include "platform/Log.hpp"

namespace quintora {

bool PauseControl::pauseStage() {
    if (isShown()) return true;
    if (runningSceneChild<MiniGameLayer>() == nullptr) return false;
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
