#pragma once
// Which button of a screen the keyboard would press: a ring around it, moved by the arrow keys to the
// nearest button in their direction. The ring is a picture per button size (focus<w>x<h>.png).
#include <vector>

#include "engine/Node.hpp"
#include "engine/Sprite.hpp"
#include "platform/Window.hpp"

namespace quintora {

class ButtonFocus {
  public:
    // The buttons, in scene points, and the one that has the focus first; the rings go into `parent`.
    void setButtons(Node* parent, int z, std::vector<Rect> frames, int first);
    // Moves the focus for an arrow key; false for any other key.
    bool arrowKey(platform::Key key);
    void focus(int index);

    [[nodiscard]] int focused() const { return focused_; }
    [[nodiscard]] bool isEmpty() const { return frames_.empty(); }
    [[nodiscard]] Rect focusedFrame() const { return frames_.at(static_cast<std::size_t>(focused_)); }

  private:
    std::vector<Rect> frames_;
    std::vector<Ref<Sprite>> rings_;
    int focused_ = 0;
};

}  // namespace quintora
