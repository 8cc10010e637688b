#include "games/FollowWay.hpp"

#include "engine/Geometry.hpp"
#include "platform/Log.hpp"

namespace quintora {

namespace {

// A slot without a fire: off the screen, where the character never goes.
constexpr Rect kNoFire{{500, 500}, {1, 1}};

}  // namespace

void FollowWayLayer::addFire(int slot, const char* file, Point position) {
    R_fire[slot] = getFrame(addSprite(file, position, 1).get());
}

void FollowWayLayer::GameSetting() {
    Lifesetting();
    startTick();

    for (Rect& fire : R_fire) fire = kNoFire;
    addBackground(level() == 2 ? "fw2bg.png" : level() == 3 ? "fw3bg.png" : "fw1bg.png");
    addHowTo("followway");
    switch (level()) {
        case 2:
            S_ch = addSprite("fwch.png", {50, 270}, 2);
            S_house = addSprite("fwhouse.png", {440, 40}, 1);
            addFire(0, "fwgaro6.png", {170, 210});
            addFire(1, "fwgaro6.png", {290, 90});
            break;
        case 3:
            S_ch = addSprite("fwch.png", {40, 250}, 2);
            S_house = addSprite("fwhouse.png", {430, 180}, 1);
            addFire(0, "fwgaro6.png", {220, 280});
            addFire(1, "fws4.png", {80, 170});
            addFire(2, "fws4.png", {220, 80});
            addFire(3, "fws4.png", {360, 170});
            break;
        default:
            S_ch = addSprite("fwch.png", {80, 250}, 2);
            S_house = addSprite("fwhouse.png", {440, 40}, 1);
            addFire(0, "fws4.png", {20, 110});
            addFire(1, "fw1center.png", {230, 170});
            addFire(3, "fws4.png", {460, 180});
            break;
    }
    R_ch = getFrame(S_ch.get());
    R_house = getFrame(S_house.get());

    addTimeBar();
}

bool FollowWayLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    if (rectIntersectsRect(makeRect(p.x, p.y, 20, 20), R_ch)) b_touch = true;
    return true;
}

bool FollowWayLayer::handleTouchesMoved(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    if (b_touch) S_ch->setPosition(p);

    // Judged by where the character stood at the last tick, whether or not it moved just now.
    for (Rect& fire : R_fire) {
        if (rectIntersectsRect(fire, R_ch)) {
            platform::log("crach");
            // A fire catches once; emptied, it cannot end the stage a second time.
            fire = Rect{};
            endStage(false);
        }
    }
    return true;
}

bool FollowWayLayer::handleTouchesEnded(const TouchSet&, const TouchEvent&) {
    b_touch = false;
    return true;
}

// A finger taken away by the system lets go of the character as lifting it would; otherwise the next
// touch, wherever it began, would carry the character off.
bool FollowWayLayer::handleTouchesCancelled(const TouchSet& touches, const TouchEvent& event) {
    return handleTouchesEnded(touches, event);
}

void FollowWayLayer::checksBeforeTimeOut() {
    R_ch = getFrame(S_ch.get());
    if (rectIntersectsRect(R_ch, R_house)) endStage(true);
}

}  // namespace quintora
