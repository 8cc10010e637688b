#include "games/GolfHole.hpp"

#include <cmath>

#include "engine/Geometry.hpp"
#include "engine/IntervalAction.hpp"
#include "platform/Log.hpp"

namespace quintora {

void GolfHoleLayer::GameSetting() {
    Lifesetting();
    startTick();
    addBackground("golfbg.png");
    addHowTo("golf");
    addTimeBar();
    S_golfball = addSprite("golfball.png", {50, 270}, 2);
    steering = TiltSteering{};
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
    steering.sample(acceleration);
}

void GolfHoleLayer::checksBeforeTimeOut() {
    const Point p = keptOnScreen(S_golfball->position());
    S_golfball->setPosition(p);
    // Earlier moves are left running; the newest one sets the position each frame.
    const Point step = steering.tickStep();
    S_golfball->runAction(MoveTo::actionWithDuration(0.5f, p + step));
    R_golfball = getFrame(S_golfball.get());

    if (rectIntersectsRect(R_golfball, R_golfb)) {
        platform::log("bunk");
        const Point here = S_golfball->position();
        S_golfball->runAction(MoveTo::actionWithDuration(3.0f, here + step));
    }

    if (rectIntersectsRect(R_golfball, R_golfh1) || rectIntersectsRect(R_golfball, R_golfh2)) {
        endStage(false);
        platform::log("hh");
    }
    if (rectIntersectsRect(R_golfball, R_golfhole)) endStage(true);
}

}  // namespace quintora
