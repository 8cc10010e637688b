#include "games/Mathematics.hpp"

#include <cstdio>
#include <cstdlib>

#include "platform/Log.hpp"

namespace quintora {

namespace {

std::string format(const char* pattern, int value) {
    char text[32];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

Ref<Label> whiteLabel(const std::string& text) {
    Ref<Label> label = Label::labelWithString(text, "Marker Felt", 50);
    label->setRGB(255, 255, 255);
    return label;
}

}  // namespace

void MathematicsLayer::GameSetting() {
    addBackground("mathbg.png");
    addHowTo("math");
    addTimeBar();
    Rannumber();
}

void MathematicsLayer::Rannumber() {
    Lifesetting();
    startTick();

    tempanswer = 0;
    tempanswerlabel = whiteLabel("");
    addChild(tempanswerlabel.get(), 1);
    tempanswerlabel->setPosition({350, 210});

    // Both numbers are drawn before the labels are made, a first, then b.
    int a = 0;
    int b = 0;
    const char* firstPattern = "%d + ";
    float secondX = 200;
    if (level() == 3) {
        a = 10 + static_cast<int>(random() % 30);
        b = 2 + static_cast<int>(random() % 5);
        answer1 = a * b;
        firstPattern = "%d \u2169 ";  // the Roman numeral ten stands as the multiplication sign
    } else if (level() == 2) {
        a = 50 + static_cast<int>(random() % 200);
        b = 50 + static_cast<int>(random() % 200);
        answer1 = a + b;
        secondX = 230;
    } else {
        a = 5 + static_cast<int>(random() % 50);
        b = 5 + static_cast<int>(random() % 30);
        answer1 = a + b;
        platform::log("1111");
    }
    lblQuestion[0] = whiteLabel(format(firstPattern, a));
    addChild(lblQuestion[0].get(), 1);
    lblQuestion[0]->setPosition({100, 210});
    lblQuestion[1] = whiteLabel(format("%d = ", b));
    addChild(lblQuestion[1].get(), 1);
    lblQuestion[1]->setPosition({secondX, 210});

    R_ok = getFrame(addSprite("mathok.png", {320, 100}, 1).get());
    R_del = getFrame(addSprite("mathdel.png", {320, 50}, 1).get());

    for (int i = 0; i < kKeys; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const Point place = i < 5 ? Point{50.0f + 50.0f * static_cast<float>(i), 100}
                                  : Point{50.0f + 50.0f * static_cast<float>(i - 5), 50};
        S_number[slot] = addSprite(format("mathnumber%d.png", i + 1), place, 1);
        R_number[slot] = getFrame(S_number[slot].get());
    }
}

bool MathematicsLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    const Rect touch = makeRect(p.x, p.y, 5, 5);
    for (int i = 0; i < kKeys; ++i) {
        if (rectIntersectsRect(R_number[static_cast<std::size_t>(i)], touch)) pressNumber(i);
    }
    if (rectIntersectsRect(R_ok, touch)) pressOk();
    if (rectIntersectsRect(R_del, touch)) pressDel();
    showAnswer();
    return true;
}

bool MathematicsLayer::keyPressed(platform::Key key) {
    if (const auto digit = platform::digitOf(key)) {
        pressNumber(*digit == 0 ? 9 : *digit - 1);
    } else if (key == platform::Key::Return) {
        pressOk();
    } else if (key == platform::Key::Backspace) {
        pressDel();
    } else {
        return false;
    }
    showAnswer();
    return true;
}

void MathematicsLayer::pressNumber(int i) {
    // The last key shows 0.
    const int digit = i == 9 ? 0 : i + 1;
    if (tempsort == 0) {
        platform::log("sor");
        tempcount1 = digit;
        tempcountsum = digit;
    } else if (tempsort == 1) {
        tempcount2 = digit;
        tempcountsum = 10 * tempcount1 + tempcount2;
    } else if (tempsort == 2) {
        tempcount3 = digit;
        tempcountsum = 100 * tempcount1 + 10 * tempcount2 + tempcount3;
    }
    platform::logf("touch %d", i + 1);
    tempsort += 1;
    // A fourth digit clears the number; the next one starts a new number.
    if (tempsort > 3) {
        tempsort = 0;
        tempcountsum = 0;
    }
}

void MathematicsLayer::pressOk() {
    platform::log("ok");
    if (tempcountsum == answer1) platform::log("ok sum");
    endStage(tempcountsum == answer1);
}

void MathematicsLayer::pressDel() {
    platform::log("del");
    tempcountsum = 0;
    tempsort = 0;
    tempcount1 = 0;
    tempcount2 = 0;
    tempcount3 = 0;
}

void MathematicsLayer::showAnswer() {
    // Nothing keyed in shows nothing, so that a 0 is never mistaken for an answer already given.
    tempanswerstring = tempsort == 0 ? std::string() : format("%d", tempcountsum);
    tempanswerlabel->setString(tempanswerstring);
}

const Label* MathematicsLayer::questionLabel(int i) const {
    if (i < 0 || i >= static_cast<int>(lblQuestion.size())) return nullptr;
    return lblQuestion[static_cast<std::size_t>(i)].get();
}

}  // namespace quintora
