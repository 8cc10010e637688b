#include "games/DifferentPicture.hpp"

#include <cstdlib>

#include "platform/Log.hpp"

namespace quintora {

namespace {

struct Picture {
    const char* file;
    Rect leftSpot;
};

// Three pictures per level; each spot is given in the left drawing, and the right drawing has it 240
// points further right.
constexpr Picture kPictures[3][3] = {
    {{"differente1.png", {{30, 230}, {40, 40}}},
     {"differente2.png", {{70, 180}, {25, 80}}},
     {"differente3.png", {{40, 180}, {30, 30}}}},
    {{"differentm1.png", {{190, 105}, {30, 30}}},
     {"differentm2.png", {{205, 180}, {40, 40}}},
     {"differentm3.png", {{205, 150}, {40, 40}}}},
    {{"differenth1.png", {{100, 240}, {40, 40}}},
     {"differenth2.png", {{220, 140}, {40, 40}}},
     {"differenth3.png", {{10, 70}, {40, 40}}}},
};

}  // namespace

void DifferentPictureLayer::GameSetting() {
    Lifesetting();
    startTick();

    const auto r = static_cast<std::size_t>(random() % 3);
    // The menu sets levels 1 to 3 only; anything else plays as the first rather than reading past the table.
    const int row = level() == 2 || level() == 3 ? level() - 1 : 0;
    const Picture& picture = kPictures[static_cast<std::size_t>(row)][r];
    R_ok[0] = picture.leftSpot;
    R_ok[1] = picture.leftSpot;
    R_ok[1].origin.x += 240;
    addSprite(picture.file, {240, 160}, 1);
    addHowTo("different");

    addTimeBar();
}

bool DifferentPictureLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    const Rect touch = makeRect(p.x, p.y, 30, 30);
    if (rectIntersectsRect(touch, R_ok[0]) || rectIntersectsRect(touch, R_ok[1])) {
        platform::log("ok");
        endStage(true);
    } else {
        platform::log("NO");
        endStage(false);
    }
    return true;
}

}  // namespace quintora
