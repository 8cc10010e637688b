#pragma once
// Stop the car: three to five cars drive in from the right; tap each one before it reaches the line on the
// left. There is no time-out: the slowest car crosses in three seconds.
#include "flow/MiniGameLayer.hpp"

namespace quintora {

class StopCarLayer : public MiniGameLayer {
    QUINTORA_NODE(StopCarLayer)
  public:
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void carborn();

    static constexpr int kMaxCars = 5;
    // A car's tag: driving, then stopped for good.
    static constexpr int kDriving = 1;
    static constexpr int kStopped = 2;
    [[nodiscard]] int carCount() const { return carcount; }
    [[nodiscard]] int stoppedCount() const { return okcount; }
    [[nodiscard]] const Sprite* car(int i) const { return S_car[i].get(); }
    [[nodiscard]] Rect carRect(int i) const { return R_car[i]; }
    [[nodiscard]] Point wreckPosition(int i) const { return S_carbreak[i]->position(); }

  protected:
    void GameSetting() override;
    void checksBeforeTimeOut() override;
    [[nodiscard]] TimeOut timeOutOutcome() const override { return TimeOut::None; }

  private:
    Ref<Sprite> S_car[kMaxCars];
    Rect R_car[kMaxCars]{};
    Ref<Sprite> S_carbreak[kMaxCars];
    int carcount = 0;
    int okcount = 0;
};

using StopCarScene = MiniGameScene<StopCarLayer>;

}  // namespace quintora
