#include "games/CardSpeed.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/IntervalAction.hpp"
#include "flow/GameState.hpp"
#include "platform/Log.hpp"

namespace quintora {

namespace {

std::string cardFile(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "cardspeed%d.png", number);
    return name;
}

}  // namespace

void CardSpeedLayer::GameSetting() {
    Lifesetting();
    startTick();
    addBackground("cardspeedbg.png");
    addHowTo("cardspeed");
    addTimeBar();
    for (int i = 0; i < kCards; ++i) {
        Ref<Sprite> card = addSprite(cardFile(i + 1), {60.0f + 90.0f * static_cast<float>(i), 70}, 1);
        R_card[static_cast<std::size_t>(i)] = getFrame(card.get());
    }
    cardselect = static_cast<int>(random() % kCards);
    switch (level()) {
        case 1:
            tempspeed = 1.3f;
            break;
        case 2:
            tempspeed = 1.0f;
            break;
        default:
            tempspeed = 0.8f;
            break;
    }
    // RotateTo takes the shorter way round, so 480 degrees from 0 turns the card by 120.
    S_flying = addSprite(cardFile(cardselect + 1), {560, 200}, 1);
    S_flying->runAction(Sequence::actions({Spawn::actions({
        RotateTo::actionWithDuration(tempspeed, 480),
        MoveTo::actionWithDuration(tempspeed, {-80, 200}),
    })}));
}

bool CardSpeedLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    const Rect touched = makeRect(p.x, p.y, 5, 5);
    for (int i = 0; i < kCards; ++i) {
        if (!rectIntersectsRect(R_card[static_cast<std::size_t>(i)], touched)) continue;
        if (i == cardselect) {
            platform::log("yes");
            endStage(true);
        } else {
            platform::log("NO");
            endStage(false);
        }
    }
    return true;
}

}  // namespace quintora
