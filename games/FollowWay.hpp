#pragma once
// Follow the way: drag the character along the drawn way to the house without touching a fire.
#include "flow/MiniGameLayer.hpp"

namespace quintora {

class FollowWayLayer : public MiniGameLayer {
    QUINTORA_NODE(FollowWayLayer)
  public:
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    bool handleTouchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    bool handleTouchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    bool handleTouchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

    static constexpr int kFires = 4;
    [[nodiscard]] Point characterPosition() const { return S_ch->position(); }
    [[nodiscard]] Point housePosition() const { return S_house->position(); }
    [[nodiscard]] Rect fireRect(int i) const { return R_fire[i]; }

  protected:
    void GameSetting() override;
    void checksBeforeTimeOut() override;

  private:
    void addFire(int slot, const char* file, Point position);

    Ref<Sprite> S_ch;
    Ref<Sprite> S_house;
    Rect R_ch{};
    Rect R_house{};
    Rect R_fire[kFires]{};
    bool b_touch = false;
};

using FollowWayScene = MiniGameScene<FollowWayLayer>;

}  // namespace quintora
