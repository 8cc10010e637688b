#include "app/screens/ButtonFocus.hpp"

#include <cmath>
#include <string>

namespace quintora {

void ButtonFocus::setButtons(Node* parent, int z, std::vector<Rect> frames, int first) {
    frames_ = std::move(frames);
    rings_.clear();
    for (const Rect& frame : frames_) {
        const std::string name = "focus" + std::to_string(std::lround(frame.size.width)) + "x" +
                                 std::to_string(std::lround(frame.size.height)) + ".png";
        Ref<Sprite> ring = Sprite::spriteWithFile(name);
        ring->setPosition(frame.centre());
        ring->setVisible(false);
        parent->addChild(ring.get(), z);
        rings_.push_back(ring);
    }
    focus(first);
}

void ButtonFocus::focus(int index) {
    if (index < 0 || index >= static_cast<int>(frames_.size())) return;
    focused_ = index;
    for (std::size_t i = 0; i < rings_.size(); ++i) rings_[i]->setVisible(static_cast<int>(i) == index);
}

bool ButtonFocus::arrowKey(platform::Key key) {
    using platform::Key;
    float dx = 0, dy = 0;
    switch (key) {
        case Key::Left:
            dx = -1;
            break;
        case Key::Right:
            dx = 1;
            break;
        case Key::Up:
            dy = 1;
            break;
        case Key::Down:
            dy = -1;
            break;
        default:
            return false;
    }
    if (frames_.empty()) return true;
    // The nearest button ahead, counting a step aside twice as far as a step ahead, so that the focus
    // keeps to its row or column when there is one.
    const Point from = focusedFrame().centre();
    int best = -1;
    float bestScore = 0;
    for (std::size_t i = 0; i < frames_.size(); ++i) {
        const Point to = frames_[i].centre();
        const float ahead = (to.x - from.x) * dx + (to.y - from.y) * dy;
        if (static_cast<int>(i) == focused_ || ahead <= 0) continue;
        const float aside = std::fabs((to.x - from.x) * dy) + std::fabs((to.y - from.y) * dx);
        const float score = ahead + 2 * aside;
        if (best < 0 || score < bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    focus(best);
    return true;
}

}  // namespace quintora
