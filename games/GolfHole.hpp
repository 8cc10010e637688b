#pragma once
// Golf hole: tilt the device to roll the ball from the tee into the hole. A bunker slows the ball on the
// middle level; on the highest, two water hazards lose the stage.
#include "flow/MiniGameLayer.hpp"
#include "flow/TiltSteering.hpp"

namespace quintora {

class GolfHoleLayer : public MiniGameLayer {
    QUINTORA_NODE(GolfHoleLayer)
  public:
    void accelerometer(Accelerometer& accelerometer, const Acceleration& acceleration) override;

    [[nodiscard]] Point ballPosition() const { return S_golfball->position(); }
    [[nodiscard]] Rect holeRect() const { return R_golfhole; }

  protected:
    void GameSetting() override;
    void checksBeforeTimeOut() override;

  private:
    Ref<Sprite> S_golfball;
    Rect R_golfball{};
    Rect R_golfhole{};
    // Obstacles missing from a level keep an empty rectangle, which meets nothing.
    Rect R_golfb{};
    Rect R_golfh1{};
    Rect R_golfh2{};
    TiltSteering steering;
};

using GolfHoleScene = MiniGameScene<GolfHoleLayer>;

}  // namespace quintora
