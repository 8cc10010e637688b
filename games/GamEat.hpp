#pragma once
// Gum eating: pieces of gum lie about the screen, and the player tilts the device to roll the figure
// over every one of them before the time runs out.
#include <array>

#include "flow/MiniGameLayer.hpp"
#include "flow/TiltSteering.hpp"

namespace quintora {

class GamEatLayer : public MiniGameLayer {
    QUINTORA_NODE(GamEatLayer)
  public:
    static constexpr int kMaxGum = 9;

    void accelerometer(Accelerometer& accelerometer, const Acceleration& acceleration) override;

    [[nodiscard]] int pieces() const { return gamcount; }
    [[nodiscard]] int eaten() const { return okcount; }
    [[nodiscard]] Point piecePosition(int i) const {
        return S_gam.at(static_cast<std::size_t>(i))->position();
    }
    [[nodiscard]] bool isLying(int i) const;
    [[nodiscard]] Point playerPosition() const { return S_player->position(); }

  protected:
    void GameSetting() override;
    void checksBeforeTimeOut() override;

  private:
    void Gamborn();

    Ref<Sprite> S_player;
    std::array<Ref<Sprite>, kMaxGum> S_gam;
    std::array<Rect, kMaxGum> R_gam{};
    Rect R_player{};
    TiltSteering steering;
    int gamcount = 0;
    int okcount = 0;
};

using GamEatScene = MiniGameScene<GamEatLayer>;

}  // namespace quintora
