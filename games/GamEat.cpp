#include "games/GamEat.hpp"

#include <cmath>
#include <cstdlib>

#include "engine/IntervalAction.hpp"
#include "flow/GameState.hpp"
#include "platform/Log.hpp"

namespace quintora {

void GamEatLayer::GameSetting() {
    takeAccelerometer();
    Lifesetting();
    startTick();
    addBackground("gameatbg.png");
    addHowTo("gameat");
    addTimeBar();
    S_player = addSprite("gameatplayer.png", {240, 100}, 2);
    steering = TiltSteering{};
    okcount = 0;
    switch (level()) {
        case 1:
            gamcount = 7;
            break;
        case 2:
            gamcount = 8;
            break;
        default:
            gamcount = 9;
            break;
    }
    Gamborn();
}

void GamEatLayer::Gamborn() {
    for (int i = 0; i < gamcount; ++i) {
        const auto n = static_cast<std::size_t>(i);
        const auto x = static_cast<float>(20 + random() % 400);
        const auto y = static_cast<float>(30 + random() % 230);
        S_gam[n] = addSprite("gameatgam.png", {x, y}, 1);
        R_gam[n] = getFrame(S_gam[n].get());
    }
}

bool GamEatLayer::isLying(int i) const {
    const Rect r = R_gam.at(static_cast<std::size_t>(i));
    return r.size.width > 0 && r.size.height > 0;
}

void GamEatLayer::accelerometer(Accelerometer&, const Acceleration& acceleration) {
    steering.sample(acceleration);
    platform::logf("y = %f", static_cast<double>(steering.bally));
}

void GamEatLayer::checksBeforeTimeOut() {
    S_player->setPosition(keptOnScreen(S_player->position()));
    // The move started at the last tick is left running.
    const Point step = steering.tickStep();
    S_player->runAction(MoveTo::actionWithDuration(0.3f, S_player->position() + step));

    for (int i = 0; i < gamcount; ++i) {
        const auto n = static_cast<std::size_t>(i);
        R_player = getFrame(S_player.get());
        if (rectIntersectsRect(R_gam[n], R_player)) {
            okcount += 1;
            // An empty rectangle meets nothing, so an eaten piece cannot count again, not even when the
            // figure sits in the corner of the screen nearest to where a small parked rectangle would be.
            R_gam[n] = Rect{};
            S_gam[n]->runAction(FadeOut::actionWithDuration(1.0f));
        }
    }

    if (okcount == gamcount) endStage(true);
}

}  // namespace quintora
