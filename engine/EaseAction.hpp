#pragma once
// Wrappers that bend the time of the interval action they hold.
#include "engine/IntervalAction.hpp"

namespace quintora {

class EaseAction : public IntervalAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<EaseAction> actionWithAction(Ref<IntervalAction> action);
    void start() override;
    void update(float t) override;

  protected:
    explicit EaseAction(Ref<IntervalAction> other);
    Ref<IntervalAction> other_;
};

class EaseRateAction : public EaseAction {
  public:
    [[nodiscard]] float rate() const { return rate_; }

  protected:
    EaseRateAction(Ref<IntervalAction> other, float rate) : EaseAction(std::move(other)), rate_(rate) {}
    float rate_;
};

// Fast at first, slow at the end: the wrapped action sees t raised to the power 1 / rate.
class EaseOut : public EaseRateAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<EaseOut> actionWithAction(Ref<IntervalAction> action, float rate);
    void update(float t) override;

  private:
    using EaseRateAction::EaseRateAction;
};

}  // namespace quintora
