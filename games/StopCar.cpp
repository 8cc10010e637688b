#include "games/StopCar.hpp"

#include <cstdlib>

#include "engine/Geometry.hpp"
#include "engine/IntervalAction.hpp"
#include "platform/Log.hpp"

namespace quintora {

void StopCarLayer::GameSetting() {
    Lifesetting();
    startTick();
    addBackground("stopcarbg.png");
    addHowTo("stopcar");
    addTimeBar();
    switch (level()) {
        case 2:
            carcount = 4;
            break;
        case 3:
            carcount = 5;
            break;
        default:
            carcount = 3;
            break;
    }
    okcount = 0;
    carborn();
}

void StopCarLayer::carborn() {
    for (int i = 0; i < carcount; ++i) {
        S_car[i] = Sprite::spriteWithFile("car.png");
        addChild(S_car[i].get(), 1);
        const auto y = static_cast<float>(24 + random() % 200);
        S_car[i]->setPosition({550, y});
        S_car[i]->setTag(kDriving);
        const auto d = static_cast<float>(1 + random() % 3);
        platform::logf("speed %f", static_cast<double>(d));
        S_car[i]->runAction(MoveTo::actionWithDuration(d, {20, y}));
        S_carbreak[i] = addSprite("breakcar.png", {1000, 1000}, 2);
    }
}

bool StopCarLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    const Rect finger = makeRect(p.x, p.y, 5, 5);
    // Judged by the rectangles of the last tick; one touch stops every driving car it meets.
    for (int i = 0; i < carcount; ++i) {
        if (rectIntersectsRect(R_car[i], finger) && S_car[i]->tag() == kDriving) {
            S_car[i]->stopAllActions();
            S_car[i]->setTag(kStopped);
            S_carbreak[i]->setPosition(S_car[i]->position());
            okcount += 1;
        }
    }
    return true;
}

void StopCarLayer::checksBeforeTimeOut() {
    for (int i = 0; i < carcount; ++i) {
        R_car[i] = getFrame(S_car[i].get());
        if (S_car[i]->position().x < 21.0f) endStage(false);
    }
    if (okcount == carcount) endStage(true);
}

}  // namespace quintora
