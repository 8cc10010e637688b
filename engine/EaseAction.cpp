#include "engine/EaseAction.hpp"

#include <cmath>

#include "engine/Errors.hpp"

namespace quintora {
namespace {

Ref<IntervalAction> checked(Ref<IntervalAction> action) {
    QASSERT(action != nullptr, "Ease: arguments must be non-nil");
    return action;
}

}  // namespace

EaseAction::EaseAction(Ref<IntervalAction> other)
    : IntervalAction(other->duration()), other_(std::move(other)) {}

Ref<EaseAction> EaseAction::actionWithAction(Ref<IntervalAction> action) {
    return Ref<EaseAction>(new EaseAction(checked(std::move(action))));
}

void EaseAction::start() {
    IntervalAction::start();
    other_->setTarget(target());
    other_->start();
}

void EaseAction::update(float t) { other_->update(t); }

Ref<EaseOut> EaseOut::actionWithAction(Ref<IntervalAction> action, float rate) {
    return Ref<EaseOut>(new EaseOut(checked(std::move(action)), rate));
}

void EaseOut::update(float t) { other_->update(std::pow(t, 1.0f / rate_)); }

Ref<Action> EaseAction::copy() const { return actionWithAction(copyOf(*other_)); }
Ref<Action> EaseOut::copy() const { return actionWithAction(copyOf(*other_), rate_); }

}  // namespace quintora
