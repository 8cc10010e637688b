#pragma once
// Hamburger: an ordered burger stands on the left; the player rebuilds it on the right, bottom up, by
// tapping the tray of each filling in turn. A wrong tray loses at once; the whole order matched wins at
// the next tick.
#include <array>

#include "flow/MiniGameLayer.hpp"

namespace quintora {

class HamburgerGameLayer : public MiniGameLayer {
    QUINTORA_NODE(HamburgerGameLayer)
  public:
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;

    void SaleBurger();
    void Addburber();
    void Selectburger();

    // Filling k (1 to n) of the order, and the filling the player matched at 0-based position j; null
    // where there is none.
    [[nodiscard]] const Sprite* orderFilling(int k) const;
    [[nodiscard]] const Sprite* stackedFilling(int j) const;
    [[nodiscard]] int orderLength() const { return burgercount; }

  protected:
    void GameSetting() override;
    void checksBeforeTimeOut() override;
    [[nodiscard]] int lifeZ() const override { return 100003; }

  private:
    static constexpr int kSlots = 8;

    Ref<Sprite> S_hamtop;
    Ref<Sprite> S_hambottom;
    std::array<Ref<Sprite>, kSlots> S_Saleburger;
    std::array<Ref<Sprite>, kSlots> S_Todayburger;
    Rect R_hamvar2table;
    Rect R_hamvar1table;
    Rect R_hamtomatotable;
    Rect R_hamcheesetable;
    Rect R_hamtoptable;
    int burgercount = 0;
    int burgersort = 0;
    std::array<int, kSlots> burgercontents{};
    int selectcount = 0;
    int selectcontents = 0;
    int okcount = 0;
};

using HamburgerGameScene = MiniGameScene<HamburgerGameLayer>;

}  // namespace quintora
