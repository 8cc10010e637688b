#pragma once
// Actions that run over a duration. Each step adds the frame's delta to the elapsed time and updates the
// target with the fraction elapsed / duration, limited to 1, so the last step always lands exactly on
// the end value.
#include <cstdint>
#include <initializer_list>

#include "engine/Action.hpp"
#include "engine/Geometry.hpp"
#include "platform/Clock.hpp"

namespace quintora {

class IntervalAction : public FiniteTimeAction {
  public:
    // An interval action needs its duration; a bare one cannot be made.
    static void init();

    void start() override;
    void step(float dt) override;
    [[nodiscard]] bool isDone() const override { return elapsed_ >= duration_; }
    [[nodiscard]] float elapsed() const { return elapsed_; }

  protected:
    explicit IntervalAction(float duration) : FiniteTimeAction(duration) {}

  private:
    platform::TimeOfDay lastUpdate_;
    float elapsed_ = 0;
};

class MoveTo : public IntervalAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<MoveTo> actionWithDuration(float duration, Point position);
    void start() override;
    void update(float t) override;

  private:
    MoveTo(float duration, Point position) : IntervalAction(duration), endPosition_(position) {}
    Point endPosition_;
    Point startPosition_;
    Point delta_;
};

// Turns to an angle the shorter way, as long as the start lies within one turn of it.
class RotateTo : public IntervalAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<RotateTo> actionWithDuration(float duration, float angle);
    void start() override;
    void update(float t) override;

  private:
    RotateTo(float duration, float angle) : IntervalAction(duration), angle_(angle) {}
    float angle_;
    float startAngle_ = 0;
};

class RotateBy : public IntervalAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<RotateBy> actionWithDuration(float duration, float angle);
    void start() override;
    void update(float t) override;

  private:
    RotateBy(float duration, float angle) : IntervalAction(duration), angle_(angle) {}
    float angle_;
    float startAngle_ = 0;
};

class TintTo : public IntervalAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<TintTo> actionWithDuration(float duration, std::uint8_t red, std::uint8_t green,
                                          std::uint8_t blue);
    void start() override;
    void update(float t) override;

  private:
    TintTo(float duration, std::uint8_t r, std::uint8_t g, std::uint8_t b)
        : IntervalAction(duration), toR_(r), toG_(g), toB_(b) {}
    std::uint8_t toR_, toG_, toB_;
    std::uint8_t fromR_ = 0, fromG_ = 0, fromB_ = 0;
};

// Fades always run over the whole range, whatever the opacity was before.
class FadeIn : public IntervalAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<FadeIn> actionWithDuration(float duration);
    void update(float t) override;

  private:
    using IntervalAction::IntervalAction;
};

class FadeOut : public IntervalAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<FadeOut> actionWithDuration(float duration);
    void update(float t) override;

  private:
    using IntervalAction::IntervalAction;
};

class DelayTime : public IntervalAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<DelayTime> actionWithDuration(float duration);
    void update(float) override {}

  private:
    using IntervalAction::IntervalAction;
};

// Two actions one after the other. Each part starts when the sequence first reaches it, and the first
// always gets its final update before the second starts, however large the frame's delta.
class Sequence : public IntervalAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<Sequence> actionOne(Ref<FiniteTimeAction> one, Ref<FiniteTimeAction> two);
    // Folds a list from the left: (a, b, c) is ((a, b), c). The list ends at the first null; a single
    // action is returned as it is, and a list starting with null yields null.
    static Ref<FiniteTimeAction> actions(std::initializer_list<Ref<FiniteTimeAction>> list);

    void start() override;
    void update(float t) override;

  private:
    Sequence(Ref<FiniteTimeAction> one, Ref<FiniteTimeAction> two);
    Ref<FiniteTimeAction> actions_[2];
    float split_ = 0;
    int last_ = -1;
};

// Two actions at once; the shorter one is padded with a delay to the length of the longer.
class Spawn : public IntervalAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<Spawn> actionOne(Ref<FiniteTimeAction> one, Ref<FiniteTimeAction> two);
    static Ref<FiniteTimeAction> actions(std::initializer_list<Ref<FiniteTimeAction>> list);

    void start() override;
    void update(float t) override;

  private:
    Spawn(Ref<FiniteTimeAction> one, Ref<FiniteTimeAction> two);
    Ref<FiniteTimeAction> one_;
    Ref<FiniteTimeAction> two_;
};

}  // namespace quintora
