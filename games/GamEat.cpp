#include "games/GamEat.hpp"

#include <cmath>
#include <cstdlib>

#include "app/GameState.hpp"
#include "engine/IntervalAction.hpp"
#include "platform/Log.hpp"

namespace quintora {

namespace {

// Once a reading keeps its sign, the gain settles at its whole part plus 0.85: 2.0 becomes 2.85 and stays.
float settledGain(float gain) { return std::copysign(std::trunc(std::fabs(gain)) + 0.85f, gain); }

// A figure pushed past an edge comes back onto it.
Point keptOnScreen(Point p) {
    if (p.x > 480) p.x = 480;
    if (p.x < 0) p.x = 0;
    if (p.y > 320) p.y = 320;
    if (p.y < 0) p.y = 0;
    return p;
}

}  // namespace

void GamEatLayer::GameSetting() {
    takeAccelerometer();
    Lifesetting();
    startTick();
    addBackground("gameatbg.png");
    addTimeBar();
    S_player = addSprite("gameatplayer.png", {240, 100}, 2);
    xaccel = 2.0f;
    ballx = 0;
    yaccel = 2.0f;
    bally = 0;
    okcount = 0;
    switch (level()) {
        case 1: gamcount = 7; break;
        case 2: gamcount = 8; break;
        default: gamcount = 9; break;
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
    const auto ax = static_cast<float>(acceleration.x);
    const auto ay = static_cast<float>(acceleration.y);

    const int p = ballx < 0 ? 1 : -1;
    const int q = ax > 0 ? -1 : 1;
    if (p == q) xaccel = settledGain(xaccel);
    ballx = xaccel * ax;

    const int r = bally < 0 ? 1 : -1;
    const int s = ay < 0 ? -1 : 1;
    if (r == s) yaccel = settledGain(yaccel);
    bally = -yaccel * ay;
    platform::logf("y = %f", static_cast<double>(bally));
}

void GamEatLayer::checksBeforeTimeOut() {
    S_player->setPosition(keptOnScreen(S_player->position()));
    // The readings are scaled where they are kept, so a tick without a fresh sample scales them again.
    ballx *= 50;
    bally *= 50;
    // The device's y reading steers across the screen and its x reading up and down; the move started
    // at the last tick is left running.
    const Point at = S_player->position();
    S_player->runAction(MoveTo::actionWithDuration(0.3f, {at.x + bally, at.y + ballx}));

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
