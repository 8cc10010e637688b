#include "games/Phonenumber.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/Label.hpp"
#include "flow/GameState.hpp"
#include "platform/Log.hpp"

namespace quintora {

namespace {
Point digitPosition(int position) { return {140.0f + 30.0f * static_cast<float>(position), 210}; }
}  // namespace

void PhonenumberLayer::GameSetting() {
    Lifesetting();
    startTick();
    addBackground("phonenumberbg.png");
    addHowTo("phonenumber");
    addTimeBar();

    for (int d = 0; d < 10; ++d) {
        char name[32];
        std::snprintf(name, sizeof name, "phonenumber%d.png", d);
        const float x = 140.0f + 75.0f * static_cast<float>(d % 5);
        const float y = d < 5 ? 130.0f : 50.0f;
        S_number[static_cast<std::size_t>(d)] = addSprite(name, {x, y}, 1);
        R_number[static_cast<std::size_t>(d)] = getFrame(S_number[static_cast<std::size_t>(d)].get());
    }

    numbercount = level() == 3 ? 8 : level() == 2 ? 7 : 6;
    for (int k = 0; k < numbercount; ++k) {
        const auto slot = static_cast<std::size_t>(k);
        A_number[slot] = static_cast<int>(random() % 10);
        Ref<Label> digit = Label::labelWithString(std::to_string(A_number[slot]), "Marker Felt", 50);
        digit->setRGB(0, 0, 0);
        digit->setPosition(digitPosition(k));
        addChild(digit.get(), 1);
        S_ok[slot] = addSprite("phonenumberok.png", {-100, 100}, 1);
    }
    sort = 0;
}

bool PhonenumberLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    const Rect touch = makeRect(p.x, p.y, 5, 5);
    for (int d = 0; d < 10; ++d) {
        if (rectIntersectsRect(R_number[static_cast<std::size_t>(d)], touch)) dial(d);
    }
    return true;
}

bool PhonenumberLayer::keyPressed(platform::Key key) {
    const auto digit = platform::digitOf(key);
    if (!digit) return false;
    dial(*digit);
    return true;
}

void PhonenumberLayer::dial(int d) {
    // Once the whole number is dialled there is nothing left to dial: a further key would be judged
    // against the empty slots past the number (and a 0 there would spoil a finished number).
    if (sort >= numbercount) return;
    platform::logf("touch number = %d", d);
    if (A_number[static_cast<std::size_t>(sort)] == d) {
        platform::logf("match = %d", d);
        S_ok[static_cast<std::size_t>(sort)]->setPosition(digitPosition(sort));
        okcount += 1;
        sort += 1;
    } else {
        endStage(false);
    }
}

void PhonenumberLayer::checksAfterTimeOut() {
    if (okcount == numbercount) endStage(true);
}

}  // namespace quintora
