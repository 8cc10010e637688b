#pragma once
// Pausing a stage on purpose (Escape, P, a controller's Start) or because the window lost its focus: the
// director stops the stage's clock and a "Paused" box offers to resume or to leave the stage. A stage
// left that way books nothing: its time is not added and no life is taken.
#include "engine/AlertView.hpp"

namespace quintora {

class PauseControl {
  public:
    static constexpr int kResume = 0;
    static constexpr int kLeave = 1;

    // Pauses the running stage and shows the box; false when no stage runs (the menu, the records).
    bool pauseStage();
    // Pauses, or resumes when the box is up. False when it did neither.
    bool toggle();
    [[nodiscard]] bool isShown() const { return box_ != nullptr && box_->isShown(); }

  private:
    void answer(int buttonIndex);

    Ref<AlertView> box_;
};

}  // namespace quintora
