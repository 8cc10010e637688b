#include "games/Donttouch.hpp"

#include "flow/GameState.hpp"
#include "platform/Log.hpp"

namespace quintora {

void DonttouchLayer::GameSetting() {
    Lifesetting();
    startTick();
    addBackground("dontouch.png");
    addTimeBar();
}

bool DonttouchLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    // Where the touch lands does not matter; it is converted like every other stage's all the same.
    (void)touchPoint(touches);
    platform::log("ok");
    endStage(false);
    return true;
}

}  // namespace quintora
