#include "games/GolfHole.hpp"

#include <cmath>

#include "engine/Geometry.hpp"
#include "engine/IntervalAction.hpp"
#include "platform/Log.hpp"

namespace quintora {

namespace {

// A gain that settles at 2.85 once the reading keeps its sign: the fraction is always .85 on top of the
// whole part, so further updates leave it where it is.
float settledGain(float gain) { return std::copysign(std::trunc(std::fabs(gain)) + 0.85f, gain); }

}  // namespace

void GolfHoleLayer::GameSetting() {
    Lifesetting();
    startTick();
    addBackground("golfbg.png");
    addTimeBar();
    S_golfball = addSprite("golfball.png", {50, 270}, 2);
    xaccel = 2.0f;
    ballx = 0;
    yaccel = 2.0f;
    bally = 0;
    takeAccelerometer();
    Ref<Sprite> hole = addSprite("golfhole.png", {430, 50}, 1);
    R_golfhole = getFrame(hole.get());

    switch (level()) {
        case 2: {
            Ref<Sprite> bunker = addSprite("golfb.png", {200, 180}, 1);
            R_golfb = getFrame(bunker.get());
            break;
        }
        case 3:
            addSprite("golfh.png", {120, 100}, 1);
            addSprite("golfh.png", {250, 230}, 1);
            // The water is drawn in the lower left of each picture; these are the parts that catch the ball.
            R_golfh1 = makeRect(73, 48.5f, 70, 80);
            R_golfh2 = makeRect(203, 178, 30, 40);
            break;
        default:
            break;
    }
}

void GolfHoleLayer::accelerometer(Accelerometer&, const Acceleration& acceleration) {
    const auto x = static_cast<float>(acceleration.x);
    const auto y = static_cast<float>(acceleration.y);

    const int s1 = ballx < 0 ? 1 : -1;
    const int s2 = x > 0 ? -1 : 1;
    if (s1 == s2) xaccel = settledGain(xaccel);
    ballx = xaccel * x;

    const int s3 = bally < 0 ? 1 : -1;
    const int s4 = y < 0 ? -1 : 1;
    if (s3 == s4) yaccel = settledGain(yaccel);
    bally = -yaccel * y;
}

void GolfHoleLayer::checksBeforeTimeOut() {
    Point p = S_golfball->position();
    if (p.x > 480) p.x = 480;
    if (p.x < 0) p.x = 0;
    if (p.y > 320) p.y = 320;
    if (p.y < 0) p.y = 0;
    S_golfball->setPosition(p);

    // Kept, not reset: a tick with no new sample since the last one steps fifty times further again.
    ballx = 50 * ballx;
    bally = 50 * bally;
    // The device's y reading rolls the ball across the screen, its x reading up and down. Earlier moves
    // are left running; the newest one sets the position each frame.
    const Point target{p.x + bally, p.y + ballx};
    S_golfball->runAction(MoveTo::actionWithDuration(0.5f, target));
    R_golfball = getFrame(S_golfball.get());

    if (rectIntersectsRect(R_golfball, R_golfb)) {
        platform::log("bunk");
        const Point here = S_golfball->position();
        S_golfball->runAction(MoveTo::actionWithDuration(3.0f, {here.x + bally, here.y + ballx}));
    }

    if (rectIntersectsRect(R_golfball, R_golfh1) || rectIntersectsRect(R_golfball, R_golfh2)) {
        endStage(false);
        platform::log("hh");
    }
    if (rectIntersectsRect(R_golfball, R_golfhole)) endStage(true);
}

}  // namespace quintora
