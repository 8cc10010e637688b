#include "games/SameGrim.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/IntervalAction.hpp"
#include "platform/Log.hpp"

namespace quintora {

namespace {

std::string imageName(const char* pattern, int index) {
    char name[32];
    std::snprintf(name, sizeof name, pattern, index + 1);
    return name;
}

Rect touchRect(Point p) { return makeRect(p.x, p.y, 20, 20); }

}  // namespace

void SameGrimLayer::GameSetting() {
    okcount = 0;
    startTick();
    addBackground("samegrimbg.png");
    addHowTo("samegrim");
    addTimeBar();

    for (int i = 0; i < kSmall; ++i) {
        S_pictosmall[static_cast<std::size_t>(i)] =
            Sprite::spriteWithFile(imageName("samegrimsmall%d.png", i));
        addChild(S_pictosmall[static_cast<std::size_t>(i)].get(), 2);
    }
    for (int i = 0; i < kSmall; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        S_pictosmall[slot]->setPosition({75.0f + 50.0f * static_cast<float>(i), 90});
        R_pictosmall[slot] = getFrame(S_pictosmall[slot].get());
        S_samex[slot] = Sprite::spriteWithFile("samex.png");
    }

    Lifesetting();
    Randompicto();
}

void SameGrimLayer::Randompicto() {
    int crosses = 0;
    float firstCrossX = 0;
    if (level() == 3) {
        tempcount = 4;
        rannumber = 8;
    } else if (level() == 2) {
        tempcount = 3;
        rannumber = 6;
        crosses = 2;
        firstCrossX = 375;
    } else {
        tempcount = 2;
        rannumber = 4;
        crosses = 4;
        firstCrossX = 275;
    }
    for (int j = 0; j < crosses; ++j) {
        Sprite* cross = S_samex[static_cast<std::size_t>(j)].get();
        addChild(cross, 3);
        cross->setPosition({firstCrossX + 50.0f * static_cast<float>(j), 90});
    }

    for (int i = 0; i < tempcount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const int r = static_cast<int>(random() % rannumber);
        S_Ranpicto[slot] =
            addSprite(imageName("samegrim%d.png", r), {120.0f + 60.0f * static_cast<float>(i), 200}, 1);
        pictonumber[slot] = r;
        R_Ranpicto[slot] = getFrame(S_Ranpicto[slot].get());
    }
}

bool SameGrimLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Rect touch = touchRect(touchPoint(touches));
    // The hit rectangles are those of the home places, wherever the pictures are drawn. A second finger
    // that meets a picture takes it over from the first; the first finger's moves and drop then steer it.
    for (int i = 0; i < kSmall; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        if (!rectIntersectsRect(R_pictosmall[slot], touch)) continue;
        // The picture given up goes home rather than stay wherever the finger left it.
        if (B_picked && movesprite != i) sendHome();
        movesprite = i;
        // Home, even when the picture met is the one being dragged.
        P_moveoriginal = R_pictosmall[slot].centre();
        B_picked = true;
        platform::logf("touch %d", i);
    }
    return true;
}

bool SameGrimLayer::handleTouchesMoved(const TouchSet& touches, const TouchEvent&) {
    if (B_picked) S_pictosmall[static_cast<std::size_t>(movesprite)]->setPosition(touchPoint(touches));
    return true;
}

bool SameGrimLayer::handleTouchesEnded(const TouchSet& touches, const TouchEvent&) {
    if (!B_picked) return true;
    const Rect touch = touchRect(touchPoint(touches));
    for (int i = 0; i < tempcount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        if (rectIntersectsRect(R_Ranpicto[slot], touch) && pictonumber[slot] == movesprite) {
            S_Ranpicto[slot]->runAction(TintTo::actionWithDuration(0.3f, 255, 0, 0));
            okcount += 1;
        }
    }
    sendHome();
    return true;
}

bool SameGrimLayer::handleTouchesCancelled(const TouchSet&, const TouchEvent&) {
    // A lost touch is no drop, but the picture must not be left where the finger was.
    if (B_picked) sendHome();
    return true;
}

void SameGrimLayer::sendHome() {
    S_pictosmall[static_cast<std::size_t>(movesprite)]->setPosition(P_moveoriginal);
    B_picked = false;
}

void SameGrimLayer::checksBeforeTimeOut() {
    if (okcount == tempcount) {
        platform::log("win");
        endStage(true);
    }
}

const Sprite* SameGrimLayer::smallPicture(int i) const {
    if (i < 0 || i >= kSmall) return nullptr;
    return S_pictosmall[static_cast<std::size_t>(i)].get();
}

const Sprite* SameGrimLayer::largePicture(int i) const {
    if (i < 0 || i >= tempcount) return nullptr;
    return S_Ranpicto[static_cast<std::size_t>(i)].get();
}

}  // namespace quintora
