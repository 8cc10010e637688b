#pragma once
// Practice: a grid of the sixteen stages under a choice of the three levels. A stage picked here runs in
// the normal frame but books nothing and takes no life, and comes back here when it ends. The level last
// chosen is kept in the defaults store.
#include <array>

#include "engine/Layer.hpp"
#include "engine/Scene.hpp"
#include "engine/Sprite.hpp"

namespace quintora {

class PracticeLayer : public Layer {
    QUINTORA_NODE(PracticeLayer)
  public:
    static constexpr const char* kLevelKey = "PracticeLevel";

    void init() override;
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;

    // Where things are, in scene points: the level choices (1 to 3), the stages (1 to 16), the way back.
    [[nodiscard]] static Rect levelFrame(int level);
    [[nodiscard]] static Rect stageFrame(int number);
    [[nodiscard]] static Rect backFrame();

    void chooseLevel(int level);
    // Starts the stage for practice at the chosen level.
    void play(int number);
    void backToMenu();

    [[nodiscard]] int level() const { return level_; }

  private:
    void addButton(Rect frame, const char* title, float fontSize, Ref<Sprite>* face);

    int level_ = 1;
    std::array<Ref<Sprite>, 3> levelFaces_;
};

class PracticeScene : public Scene {
    QUINTORA_NODE(PracticeScene)
  public:
    void init() override;
};

}  // namespace quintora
