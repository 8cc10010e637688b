#pragma once
// Same picture: a row of small pictures lies at the bottom and two to four large ones stand above. The
// player drags a small picture onto the large picture that shows the same image; a correct drop tints
// that large picture red. Every drop sends the small picture home. As many correct drops as large
// pictures win at the next tick.
#include <array>

#include "flow/MiniGameLayer.hpp"

namespace quintora {

class SameGrimLayer : public MiniGameLayer {
    QUINTORA_NODE(SameGrimLayer)
  public:
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    bool handleTouchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    bool handleTouchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    bool handleTouchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

    void Randompicto();

    // Small picture i (0 to 7) and large picture i (0 to the count of large pictures - 1); null past them.
    [[nodiscard]] const Sprite* smallPicture(int i) const;
    [[nodiscard]] const Sprite* largePicture(int i) const;

  protected:
    void GameSetting() override;
    void checksBeforeTimeOut() override;
    [[nodiscard]] int lifeZ() const override { return 1; }

  private:
    static constexpr int kSmall = 8;
    static constexpr int kLargeSlots = 6;

    void sendHome();

    std::array<Ref<Sprite>, kSmall> S_pictosmall;
    std::array<Rect, kSmall> R_pictosmall{};
    std::array<Ref<Sprite>, kLargeSlots> S_Ranpicto;
    std::array<Rect, kLargeSlots> R_Ranpicto{};
    std::array<int, kLargeSlots> pictonumber{};
    std::array<Ref<Sprite>, kSmall> S_samex;
    Point P_moveoriginal;
    int movesprite = 0;
    // Whether the touch under way picked up a small picture; a touch that began elsewhere drags nothing.
    bool B_picked = false;
    int tempcount = 0;
    int rannumber = 0;
    int okcount = 0;
};

using SameGrimScene = MiniGameScene<SameGrimLayer>;

}  // namespace quintora
