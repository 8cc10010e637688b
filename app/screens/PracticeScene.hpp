#pragma once
// Practice: a grid of the sixteen stages under a choice of the three levels. A stage picked here runs in
// the normal frame but books nothing and takes no life, and comes back here when it ends. The level last
// chosen is kept in the defaults store. The arrow keys move a focus ring over every button, Return presses
// the one in it and Escape goes back to the menu.
#include <array>

#include "app/screens/ButtonFocus.hpp"
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"
#include "engine/Sprite.hpp"
#include "flow/Controls.hpp"

namespace quintora {

class PracticeLayer : public Layer, public KeyReceiver {
    QUINTORA_NODE(PracticeLayer)
  public:
    static constexpr const char* kLevelKey = "PracticeLevel";

    void init() override;
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    bool keyPressed(platform::Key key) override;

    // Where things are, in scene points: the level choices (1 to 3), the stages (1 to 16), the way back.
    [[nodiscard]] static Rect levelFrame(int level);
    [[nodiscard]] static Rect stageFrame(int number);
    [[nodiscard]] static Rect backFrame();

    void chooseLevel(int level);
    // Starts the stage for practice at the chosen level.
    void play(int number);
    void backToMenu();

    [[nodiscard]] int level() const { return level_; }
    // The focus ring's buttons are the three levels, then the stages from 1, then the way back; it
    // starts on stage 1.
    static constexpr int kFirstStageButton = 3;
    [[nodiscard]] ButtonFocus& focusRing() { return focus_; }

  private:
    void addStageButton(Rect frame, const char* title);

    int level_ = 1;
    std::array<Ref<Sprite>, 3> levelFaces_;
    ButtonFocus focus_;
};

class PracticeScene : public Scene {
    QUINTORA_NODE(PracticeScene)
  public:
    void init() override;
};

}  // namespace quintora
