#include "engine/IntervalAction.hpp"

#include <algorithm>
#include <cmath>

#include "engine/Errors.hpp"
#include "engine/Node.hpp"

namespace quintora {
namespace {

// Components are truncated toward zero and kept within 0 to 255.
std::uint8_t toComponent(float value) { return static_cast<std::uint8_t>(std::clamp(value, 0.0f, 255.0f)); }

template <class Combined>
Ref<FiniteTimeAction> fold(std::initializer_list<Ref<FiniteTimeAction>> list) {
    Ref<FiniteTimeAction> result;
    for (const Ref<FiniteTimeAction>& action : list) {
        if (!action) break;
        result = result ? Ref<FiniteTimeAction>(Combined::actionOne(result, action)) : action;
    }
    return result;
}

}  // namespace

void IntervalAction::init() {
    throw EngineException("IntervalActionInit", "Init not supported. Use InitWithDuration");
}

void IntervalAction::start() {
    Action::start();
    const auto now = platform::timeOfDay();
    if (!now) throw EngineException("GetTimeOfDay", "GetTimeOfDay abnormal error");
    lastUpdate_ = *now;
    elapsed_ = 0;
}

void IntervalAction::step(float dt) {
    elapsed_ += dt;
    // A zero duration is over at once, even when the frame's delta is zero too.
    const float t = duration_ > 0 ? std::min(1.0f, elapsed_ / duration_) : 1.0f;
    update(t);
}

Ref<MoveTo> MoveTo::actionWithDuration(float duration, Point position) {
    return Ref<MoveTo>(new MoveTo(duration, position));
}

void MoveTo::start() {
    IntervalAction::start();
    startPosition_ = target()->position();
    delta_ = endPosition_ - startPosition_;
}

void MoveTo::update(float t) {
    target()->setPosition({startPosition_.x + delta_.x * t, startPosition_.y + delta_.y * t});
}

Ref<RotateTo> RotateTo::actionWithDuration(float duration, float angle) {
    return Ref<RotateTo>(new RotateTo(duration, angle));
}

void RotateTo::start() {
    IntervalAction::start();
    startAngle_ = target()->rotation();
    angle_ -= startAngle_;
    if (angle_ > 180) angle_ -= 360;
    if (angle_ < -180) angle_ += 360;
}

void RotateTo::update(float t) { target()->setRotation(startAngle_ + angle_ * t); }

Ref<RotateBy> RotateBy::actionWithDuration(float duration, float angle) {
    return Ref<RotateBy>(new RotateBy(duration, angle));
}

void RotateBy::start() {
    IntervalAction::start();
    startAngle_ = target()->rotation();
}

void RotateBy::update(float t) { target()->setRotation(startAngle_ + angle_ * t); }

Ref<TintTo> TintTo::actionWithDuration(float duration, std::uint8_t red, std::uint8_t green,
                                       std::uint8_t blue) {
    return Ref<TintTo>(new TintTo(duration, red, green, blue));
}

void TintTo::start() {
    IntervalAction::start();
    const RGBAProtocol& coloured = colouredTarget();
    fromR_ = coloured.r();
    fromG_ = coloured.g();
    fromB_ = coloured.b();
}

void TintTo::update(float t) {
    auto blend = [t](std::uint8_t from, std::uint8_t to) {
        return toComponent(static_cast<float>(from) + static_cast<float>(to - from) * t);
    };
    colouredTarget().setRGB(blend(fromR_, toR_), blend(fromG_, toG_), blend(fromB_, toB_));
}

Ref<FadeIn> FadeIn::actionWithDuration(float duration) { return Ref<FadeIn>(new FadeIn(duration)); }

void FadeIn::update(float t) { colouredTarget().setOpacity(toComponent(t * 255)); }

Ref<FadeOut> FadeOut::actionWithDuration(float duration) { return Ref<FadeOut>(new FadeOut(duration)); }

void FadeOut::update(float t) { colouredTarget().setOpacity(toComponent((1 - t) * 255)); }

Ref<DelayTime> DelayTime::actionWithDuration(float duration) {
    return Ref<DelayTime>(new DelayTime(duration));
}

// Sequence

Sequence::Sequence(Ref<FiniteTimeAction> one, Ref<FiniteTimeAction> two)
    : IntervalAction(one->duration() + two->duration()), actions_{std::move(one), std::move(two)} {}

Ref<Sequence> Sequence::actionOne(Ref<FiniteTimeAction> one, Ref<FiniteTimeAction> two) {
    QASSERT(one != nullptr, "Sequence: argument one must be non-nil");
    QASSERT(two != nullptr, "Sequence: argument two must be non-nil");
    return Ref<Sequence>(new Sequence(std::move(one), std::move(two)));
}

Ref<FiniteTimeAction> Sequence::actions(std::initializer_list<Ref<FiniteTimeAction>> list) {
    return fold<Sequence>(list);
}

void Sequence::start() {
    IntervalAction::start();
    actions_[0]->setTarget(target());
    actions_[1]->setTarget(target());
    split_ = duration_ > 0 ? actions_[0]->duration() / duration_ : 1.0f;
    last_ = -1;
}

void Sequence::update(float t) {
    int found;
    float local;
    if (t < split_) {
        found = 0;
        local = split_ != 0 ? t / split_ : 1.0f;
    } else {
        found = 1;
        local = split_ == 1 ? 1.0f : (t - split_) / (1 - split_);
    }
    if (last_ == -1 && found == 1) {
        actions_[0]->start();
        actions_[0]->update(1.0f);
        actions_[0]->stop();
    }
    if (last_ != found) {
        if (last_ != -1) {
            actions_[last_]->update(1.0f);
            actions_[last_]->stop();
        }
        actions_[found]->start();
    }
    actions_[found]->update(local);
    last_ = found;
}

// Spawn

Spawn::Spawn(Ref<FiniteTimeAction> one, Ref<FiniteTimeAction> two)
    : IntervalAction(std::max(one->duration(), two->duration())), one_(std::move(one)), two_(std::move(two)) {
    const float d1 = one_->duration();
    const float d2 = two_->duration();
    if (d1 > d2) {
        two_ = Sequence::actionOne(two_, DelayTime::actionWithDuration(d1 - d2));
    } else if (d2 > d1) {
        one_ = Sequence::actionOne(one_, DelayTime::actionWithDuration(d2 - d1));
    }
}

Ref<Spawn> Spawn::actionOne(Ref<FiniteTimeAction> one, Ref<FiniteTimeAction> two) {
    QASSERT(one != nullptr, "Spawn: argument one must be non-nil");
    QASSERT(two != nullptr, "Spawn: argument two must be non-nil");
    return Ref<Spawn>(new Spawn(std::move(one), std::move(two)));
}

Ref<FiniteTimeAction> Spawn::actions(std::initializer_list<Ref<FiniteTimeAction>> list) {
    return fold<Spawn>(list);
}

void Spawn::start() {
    IntervalAction::start();
    one_->setTarget(target());
    two_->setTarget(target());
    one_->start();
    two_->start();
}

void Spawn::update(float t) {
    one_->update(t);
    two_->update(t);
}

Ref<Action> MoveTo::copy() const { return actionWithDuration(duration_, endPosition_); }
Ref<Action> RotateTo::copy() const { return actionWithDuration(duration_, angle_); }
Ref<Action> RotateBy::copy() const { return actionWithDuration(duration_, angle_); }
Ref<Action> TintTo::copy() const { return actionWithDuration(duration_, toR_, toG_, toB_); }
Ref<Action> FadeIn::copy() const { return actionWithDuration(duration_); }
Ref<Action> FadeOut::copy() const { return actionWithDuration(duration_); }
Ref<Action> DelayTime::copy() const { return actionWithDuration(duration_); }
Ref<Action> Sequence::copy() const { return actionOne(copyOf(*actions_[0]), copyOf(*actions_[1])); }
Ref<Action> Spawn::copy() const { return actionOne(copyOf(*one_), copyOf(*two_)); }

}  // namespace quintora
