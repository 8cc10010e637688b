#pragma once
// Base stealing: the ball is pitched home and thrown on to second base while the player taps the run
// button, each tap a step of the runner towards the base. Whoever reaches the base first decides the stage;
// the ball's flight is the stage's clock, so there is no time-out.
#include "engine/Action.hpp"
#include "flow/MiniGameLayer.hpp"

namespace quintora {

class BaseballLayer : public MiniGameLayer {
    QUINTORA_NODE(BaseballLayer)
  public:
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;

    // For tests: what is on screen.
    [[nodiscard]] Point ballPosition() const { return S_ball->position(); }
    [[nodiscard]] Point playerPosition() const { return S_player->position(); }
    [[nodiscard]] Rect runButton() const { return R_click; }
    [[nodiscard]] Rect secondBase() const { return R_two; }

  protected:
    void GameSetting() override;
    void checksBeforeTimeOut() override;
    [[nodiscard]] TimeOut timeOutOutcome() const override { return TimeOut::None; }
    void beforeExitGame() override;
    [[nodiscard]] bool logsTime() const override { return false; }

  private:
    Ref<Sprite> S_ball;
    Ref<Sprite> S_player;
    float ballspeed = 0;  // seconds of the throw from home to second base
    Rect R_ball{};
    Rect R_player{};
    Rect R_two{};
    Rect R_click{};
    Ref<FiniteTimeAction> move;  // the ball's whole flight
};

using BaseballScene = MiniGameScene<BaseballLayer>;

}  // namespace quintora
