#pragma once
// Timers and the scheduler that fires them once per frame. The list of timers is walked every frame, so
// it changes only through the pending add and remove lists, applied at the start of the next tick: a
// timer scheduled during a tick first fires at the next one, and one withdrawn during a tick by an
// earlier timer still fires in that tick.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Object.hpp"
#include "engine/Selector.hpp"

namespace quintora {

class Scheduler;

class Timer : public Object {
  public:
    static Ref<Timer> timerWithTarget(Object* target, Selector selector, float interval = 0);

    // A timer needs a target and a method; a bare one cannot be made.
    static void init();

    // Adds dt; once the accumulated time reaches the interval, calls the method with it and starts
    // again from 0. The excess is dropped, so a timer fires at most once per frame.
    void fire(float dt);

    [[nodiscard]] float interval() const { return interval_; }
    void setInterval(float interval) { interval_ = interval; }
    [[nodiscard]] const Selector& selector() const { return selector_; }
    [[nodiscard]] Object* target() const { return target_.get(); }
    [[nodiscard]] std::string description() const;

  private:
    friend class Scheduler;
    enum class State : std::uint8_t { Idle, PendingAdd, Scheduled, PendingRemove };

    Timer(Object* target, Selector selector, float interval);

    Ref<Object> target_;
    Selector selector_;
    float interval_;
    float elapsed_ = 0;
    State state_ = State::Idle;
};

class Scheduler {
  public:
    static Scheduler& sharedScheduler();

    void scheduleTimer(Timer* timer);
    void unscheduleTimer(Timer* timer);
    void tick(float dt);

    // Make a timer and queue it without the checks of scheduleTimer.
    Ref<Timer> scheduleTarget(Object* target, Selector selector, float interval = 0);

    [[nodiscard]] std::size_t timerCount() const { return scheduled_.size() + toAdd_.size(); }

  private:
    Scheduler();

    std::vector<Ref<Timer>> scheduled_;
    std::vector<Ref<Timer>> toRemove_;
    std::vector<Ref<Timer>> toAdd_;
};

}  // namespace quintora
