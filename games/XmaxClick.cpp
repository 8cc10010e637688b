#include "games/XmaxClick.hpp"

#include <cstdio>

#include "engine/IntervalAction.hpp"
#include "flow/GameState.hpp"

namespace quintora {

namespace {

constexpr Point kPicturePlaces[XmaxClickLayer::kPictures] = {
    {80, 240}, {410, 240}, {60, 140}, {120, 140}, {380, 140}, {410, 140}, {440, 140},
    {30, 50},  {80, 50},   {130, 50}, {240, 120}, {360, 60},  {440, 60},
};

// Where a found silhouette's rectangle is parked, so that no tap can reach it again.
constexpr Rect kOutOfReach{{-100, -100}, {1, 1}};

}  // namespace

void XmaxClickLayer::GameSetting() {
    okcount = 0;
    Lifesetting();
    startTick();
    addBackground("xmasclick.png");
    addHowTo("xmas");
    addTimeBar();
    Xmaspicture();
}

void XmaxClickLayer::Xmaspicture() {
    for (int i = 0; i < kPictures; ++i) {
        const auto n = static_cast<std::size_t>(i);
        char name[32];
        std::snprintf(name, sizeof name, "xmas%d.png", i);
        S_xmax[n] = addSprite(name, kPicturePlaces[n], 1);
        S_top[n] = addSprite(name, kPicturePlaces[n], 2);
        S_top[n]->setVisible(false);
    }
    for (std::size_t n = 0; n < S_xmax.size(); ++n) R_xmax[n] = getFrame(S_xmax[n].get());

    switch (level()) {
        case 1:
            xmascount = 8;
            break;
        case 2:
            xmascount = 10;
            break;
        default:
            xmascount = 12;
            break;
    }
    for (int i = 0; i < xmascount; ++i) {
        S_xmax[static_cast<std::size_t>(i)]->runAction(TintTo::actionWithDuration(0.1f, 0, 0, 0));
    }
}

bool XmaxClickLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    const Rect touched = makeRect(p.x, p.y, 5, 5);
    // Every silhouette under the finger counts, so the loop does not stop at the first one.
    for (int i = 0; i < xmascount; ++i) {
        const auto n = static_cast<std::size_t>(i);
        if (rectIntersectsRect(R_xmax[n], touched)) {
            S_top[n]->setVisible(true);
            okcount += 1;
            R_xmax[n] = kOutOfReach;
        }
    }
    return true;
}

void XmaxClickLayer::checksBeforeTimeOut() {
    if (okcount == xmascount) endStage(true);
}

}  // namespace quintora
