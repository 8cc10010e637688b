#include "games/TakeTshirts.hpp"

#include <cstdio>
#include <cstdlib>

#include "flow/GameState.hpp"
#include "platform/Log.hpp"

namespace quintora {

namespace {
// Where shirt k hangs once `taken` shirts have gone: the leftmost still hanging at x = 60.
Point shirtPlace(int k, int taken) { return {60.0f + 115.0f * static_cast<float>(k - taken), 210}; }
}  // namespace

void TakeTshirtsLayer::GameSetting() {
    Lifesetting();
    startTick();
    addBackground("tshirtsbg.png");
    addHowTo("tshirts");
    addTimeBar();

    shirtscount = level() == 3 ? 9 : level() == 2 ? 7 : 5;
    for (int k = 0; k < shirtscount; ++k) {
        const int s = static_cast<int>(random() % 5);
        char name[32];
        std::snprintf(name, sizeof name, "tshirts%d.png", s);
        S_shirts[static_cast<std::size_t>(k)] = addSprite(name, shirtPlace(k, 0), 1);
        A_shirtssort[static_cast<std::size_t>(k)] = s;
    }
    for (int i = 0; i < 5; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "tshirts%dsmall.png", i);
        S_touch[static_cast<std::size_t>(i)] =
            addSprite(name, {250.0f + 50.0f * static_cast<float>(i), 30}, 1);
        R_touch[static_cast<std::size_t>(i)] = getFrame(S_touch[static_cast<std::size_t>(i)].get());
    }
    okcount = 0;
}

bool TakeTshirtsLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    const Rect touch = makeRect(p.x, p.y, 10, 10);
    for (int i = 0; i < 5; ++i) {
        if (!rectIntersectsRect(R_touch[static_cast<std::size_t>(i)], touch)) continue;
        platform::logf("ttt %d", i);
        // Once the line is empty there is no shirt left to match: judging the empty slots past the row
        // would count a 0 as a further shirt and spoil the finished row.
        if (okcount >= shirtscount) continue;
        if (A_shirtssort[static_cast<std::size_t>(okcount)] != i) continue;
        okcount += 1;
        for (int k = 0; k < shirtscount; ++k)
            S_shirts[static_cast<std::size_t>(k)]->setPosition(shirtPlace(k, okcount));
    }
    return true;
}

void TakeTshirtsLayer::checksAfterTimeOut() {
    if (okcount == shirtscount) endStage(true);
}

}  // namespace quintora
