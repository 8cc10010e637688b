#pragma once
// Flying card: a copy of one of five cards flies across the screen, turning, and the player taps the
// matching card in the row below. The first tap on a row card decides the stage.
#include <array>

#include "flow/MiniGameLayer.hpp"

namespace quintora {

class CardSpeedLayer : public MiniGameLayer {
    QUINTORA_NODE(CardSpeedLayer)
  public:
    static constexpr int kCards = 5;

    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;

    [[nodiscard]] int matchingCard() const { return cardselect; }
    [[nodiscard]] Rect cardRect(int i) const { return R_card.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] float flightTime() const { return tempspeed; }
    [[nodiscard]] const Sprite* flyingCard() const { return S_flying.get(); }

  protected:
    void GameSetting() override;
    [[nodiscard]] bool logsTimeOut() const override { return false; }

  private:
    int cardselect = 0;
    float tempspeed = 0;
    std::array<Rect, kCards> R_card{};
    // Kept only so that the flight can be watched; the game itself never reads it.
    Ref<Sprite> S_flying;
};

using CardSpeedScene = MiniGameScene<CardSpeedLayer>;

}  // namespace quintora
