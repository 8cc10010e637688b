#pragma once
// Don't touch: a picture says not to touch the screen. Any touch loses; waiting out the time wins.
#include "flow/MiniGameLayer.hpp"

namespace quintora {

class DonttouchLayer : public MiniGameLayer {
    QUINTORA_NODE(DonttouchLayer)
  public:
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;

  protected:
    void GameSetting() override;
    [[nodiscard]] TimeOut timeOutOutcome() const override { return TimeOut::Won; }
};

using DonttouchScene = MiniGameScene<DonttouchLayer>;

}  // namespace quintora
