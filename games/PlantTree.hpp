#pragma once
// Plant the trees: every tap on the button plants a tree and lowers the counter; planting the last tree
// before the time runs out wins.
#include <string>

#include "engine/Label.hpp"
#include "flow/MiniGameLayer.hpp"

namespace quintora {

class PlantTreeLayer : public MiniGameLayer {
    QUINTORA_NODE(PlantTreeLayer)
  public:
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void PlantTreeRand();

    static constexpr int kTreeSlots = 25;
    [[nodiscard]] Rect buttonRect() const { return R_touch; }
    [[nodiscard]] const std::string& counterText() const { return L_count->string(); }

  protected:
    void GameSetting() override;

  private:
    int treecount = 0;
    int okcount = 0;
    Ref<Sprite> S_tree[kTreeSlots];
    Rect R_touch{};
    std::string N_count;
    Ref<Label> L_count;
};

using PlantTreeScene = MiniGameScene<PlantTreeLayer>;

}  // namespace quintora
