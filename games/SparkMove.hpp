#pragma once
// Dodge the sparks: thunderclouds drift along the top of the screen and drop a spark where they stop; the
// player tilts the device to keep the figure out of the sparks' way. Lasting the five seconds wins.
#include <array>

#include "flow/MiniGameLayer.hpp"
#include "flow/TiltSteering.hpp"

namespace quintora {

class SparkMoveLayer : public MiniGameLayer {
    QUINTORA_NODE(SparkMoveLayer)
  public:
    static constexpr int kMaxSparks = 7;

    // The frame's set-up, then the accelerometer: the stage is steered by tilt alone.
    void init() override;

    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void accelerometer(Accelerometer& accelerometer, const Acceleration& acceleration) override;

    [[nodiscard]] int sparks() const { return sparkcount; }
    [[nodiscard]] Point sparkPosition(int i) const {
        return S_cloud.at(static_cast<std::size_t>(i))->position();
    }
    [[nodiscard]] Point playerPosition() const { return S_player->position(); }

  protected:
    void GameSetting() override;
    void checksBeforeTimeOut() override;
    [[nodiscard]] TimeOut timeOutOutcome() const override { return TimeOut::Won; }
    // The tick logs the steering instead of the time.
    [[nodiscard]] bool logsTime() const override { return false; }

  private:
    void cloudmove();

    // Mind the names: S_cloud holds the falling sparks, the hazards, and S_spark the clouds that carry them.
    std::array<Ref<Sprite>, kMaxSparks> S_cloud;
    std::array<Ref<Sprite>, kMaxSparks> S_spark;
    Ref<Sprite> S_player;
    std::array<Rect, kMaxSparks> R_spark{};
    Rect R_player{};
    TiltSteering steering;
    int sparkcount = 0;
    int okcount = 0;
};

using SparkMoveScene = MiniGameScene<SparkMoveLayer>;

}  // namespace quintora
