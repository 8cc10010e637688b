#include "games/SparkMove.hpp"

#include <cmath>
#include <cstdlib>

#include "engine/IntervalAction.hpp"
#include "flow/GameState.hpp"
#include "platform/Log.hpp"

namespace quintora {

void SparkMoveLayer::init() {
    MiniGameLayer::init();
    platform::log("start");
    takeAccelerometer();
    platform::log("end");
}

void SparkMoveLayer::GameSetting() {
    Lifesetting();
    startTick();
    addBackground("sparkmovebg.png");
    addHowTo("sparkmove");
    addTimeBar();
    S_player = addSprite("sparkmovesplayer.png", {240, 100}, 2);
    steering = TiltSteering{};
    okcount = 0;
    switch (level()) {
        case 1:
            sparkcount = 5;
            break;
        case 2:
            sparkcount = 6;
            break;
        default:
            sparkcount = 7;
            break;
    }
    cloudmove();
}

void SparkMoveLayer::cloudmove() {
    for (int i = 0; i < sparkcount; ++i) {
        const auto n = static_cast<std::size_t>(i);
        S_cloud[n] = addSprite("sparkmovespark.png", {0, 0}, 2);
        S_spark[n] = addSprite("sparkmovecloud.png", {0, 0}, 3);
        const auto x1 = static_cast<float>(100 + random() % 400);
        const auto x2 = static_cast<float>(100 + random() % 400);
        const auto d = static_cast<float>(1 + random() % 3);
        S_cloud[n]->setPosition({x1, 260});
        S_spark[n]->setPosition({x1, 260});
        S_spark[n]->runAction(Sequence::actions({Spawn::actions({
            MoveTo::actionWithDuration(d, {x2, 260}),
            TintTo::actionWithDuration(d, 255, 0, 0),
        })}));
        S_cloud[n]->runAction(Sequence::actions({
            MoveTo::actionWithDuration(d, {x2, 260}),
            MoveTo::actionWithDuration(1.0f, {x2, -30}),
        }));
    }
}

void SparkMoveLayer::accelerometer(Accelerometer&, const Acceleration& acceleration) {
    steering.sample(acceleration);
}

bool SparkMoveLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    // Touches play no part here; the touch is taken and let go.
    (void)touchPoint(touches);
    return true;
}

void SparkMoveLayer::checksBeforeTimeOut() {
    S_player->setPosition(keptOnScreen(S_player->position()));
    platform::logf("ballx %f", static_cast<double>(steering.ballx));
    // The move started at the last tick is left running.
    const Point step = steering.tickStep();
    S_player->runAction(MoveTo::actionWithDuration(0.3f, S_player->position() + step));

    for (int i = 0; i < sparkcount; ++i) {
        const auto n = static_cast<std::size_t>(i);
        R_spark[n] = getFrame(S_cloud[n].get());
        R_player = getFrame(S_player.get());
        // A spark that has fallen out of sight below the screen lies there for good; a figure standing on
        // the bottom edge reaches down over it but must not be hit by what nobody can see.
        if (R_spark[n].maxY() <= 0) continue;
        if (rectIntersectsRect(R_spark[n], R_player)) endStage(false);
    }
}

}  // namespace quintora
