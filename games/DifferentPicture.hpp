#pragma once
// Spot the difference: one picture shows two nearly equal drawings side by side that differ in one spot.
// The player has one tap: on the spot, in either drawing, wins at once; anywhere else loses at once.
#include <array>

#include "flow/MiniGameLayer.hpp"

namespace quintora {

class DifferentPictureLayer : public MiniGameLayer {
    QUINTORA_NODE(DifferentPictureLayer)
  public:
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;

    // The spot in the left drawing (0) and in the right one (1).
    [[nodiscard]] Rect spot(int half) const { return R_ok.at(static_cast<std::size_t>(half)); }

  protected:
    void GameSetting() override;

  private:
    std::array<Rect, 2> R_ok{};
};

using DifferentPictureScene = MiniGameScene<DifferentPictureLayer>;

}  // namespace quintora
