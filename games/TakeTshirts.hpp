#pragma once
// T-shirts: a row of shirts of five kinds hangs on a line and runs on past the right edge. Tapping the
// button of the leftmost shirt's kind takes it and slides the row one place left; a wrong button does
// nothing. Taking every shirt within the time wins.
#include <array>

#include "flow/MiniGameLayer.hpp"

namespace quintora {

class TakeTshirtsLayer : public MiniGameLayer {
    QUINTORA_NODE(TakeTshirtsLayer)
  public:
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;

    // For tests: what is on screen.
    [[nodiscard]] int shirtCount() const { return shirtscount; }
    [[nodiscard]] int kindOf(int shirt) const { return A_shirtssort.at(static_cast<std::size_t>(shirt)); }
    [[nodiscard]] int taken() const { return okcount; }
    [[nodiscard]] Point shirtPosition(int shirt) const {
        return S_shirts.at(static_cast<std::size_t>(shirt))->position();
    }
    [[nodiscard]] Rect button(int kind) const { return R_touch.at(static_cast<std::size_t>(kind)); }

  protected:
    void GameSetting() override;
    void checksAfterTimeOut() override;
    [[nodiscard]] bool logsTime() const override { return false; }

  private:
    int shirtscount = 0;
    std::array<Ref<Sprite>, 20> S_shirts;
    std::array<int, 20> A_shirtssort{};
    std::array<Ref<Sprite>, 5> S_touch;
    std::array<Rect, 5> R_touch{};
    int okcount = 0;  // shirts taken, and the index of the leftmost shirt still hanging
};

using TakeTshirtsScene = MiniGameScene<TakeTshirtsLayer>;

}  // namespace quintora
