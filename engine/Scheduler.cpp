#include "engine/Scheduler.hpp"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "engine/Errors.hpp"
#include "platform/Log.hpp"

namespace quintora {
namespace {

template <class List>
void eraseFirst(List& list, const Timer* timer) {
    auto found = std::find(list.begin(), list.end(), timer);
    if (found != list.end()) list.erase(found);
}

}  // namespace

Timer::Timer(Object* target, Selector selector, float interval)
    : target_(target), selector_(selector), interval_(interval) {}

Ref<Timer> Timer::timerWithTarget(Object* target, Selector selector, float interval) {
    return Ref<Timer>(new Timer(target, selector, interval));
}

void Timer::init() {
    throw EngineException("TimerInvalid", "Invalid init for Timer. Use initWithTarget:sel:");
}

void Timer::fire(float dt) {
    elapsed_ += dt;
    if (elapsed_ >= interval_) {
        selector_.method(target_.get(), elapsed_);
        elapsed_ = 0;
    }
}

std::string Timer::description() const {
    char text[96];
    std::snprintf(text, sizeof text, "<Timer = %08lX | target = %08lX | selector = %.*s>",
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(this)),
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(target_.get())),
                  static_cast<int>(selector_.name.size()), selector_.name.data());
    return text;
}

Scheduler::Scheduler() {
    static bool made = false;
    QASSERT(!made, "Attempted to allocate a second instance of a singleton.");
    made = true;
    scheduled_.reserve(50);
    toRemove_.reserve(20);
    toAdd_.reserve(20);
}

Scheduler& Scheduler::sharedScheduler() {
    static std::mutex creation;
    std::lock_guard lock(creation);
    static Scheduler* instance = new Scheduler();
    return *instance;
}

void Scheduler::scheduleTimer(Timer* timer) {
    switch (timer->state_) {
        case Timer::State::PendingRemove:
            eraseFirst(toRemove_, timer);
            timer->state_ = Timer::State::Scheduled;
            return;
        case Timer::State::Scheduled:
        case Timer::State::PendingAdd:
            platform::logf("Scheduler.schedulerTimer: timer %s already scheduled",
                           timer->description().c_str());
            throw EngineException("SchedulerTimerAlreadyScheduled",
                                  "Scheduler.scheduleTimer already scheduled");
        case Timer::State::Idle:
            toAdd_.emplace_back(timer);
            timer->state_ = Timer::State::PendingAdd;
            return;
    }
}

void Scheduler::unscheduleTimer(Timer* timer) {
    switch (timer->state_) {
        case Timer::State::PendingAdd:
            eraseFirst(toAdd_, timer);
            timer->state_ = Timer::State::Idle;
            return;
        case Timer::State::Idle:
            platform::log("Scheduler.unscheduleTimer: timer not scheduled");
            throw EngineException("SchedulerTimerNotFound", "Scheduler.unscheduleTimer not found");
        case Timer::State::PendingRemove:
            // Already on its way out; removing it twice is the same as once.
            return;
        case Timer::State::Scheduled:
            toRemove_.emplace_back(timer);
            timer->state_ = Timer::State::PendingRemove;
            return;
    }
}

Ref<Timer> Scheduler::scheduleTarget(Object* target, Selector selector, float interval) {
    Ref<Timer> timer = Timer::timerWithTarget(target, selector, interval);
    toAdd_.push_back(timer);
    timer->state_ = Timer::State::PendingAdd;
    return timer;
}

void Scheduler::tick(float dt) {
    if (!toRemove_.empty()) {
        std::erase_if(scheduled_, [](const Ref<Timer>& timer) {
            if (timer->state_ != Timer::State::PendingRemove) return false;
            timer->state_ = Timer::State::Idle;
            return true;
        });
        toRemove_.clear();
    }
    if (!toAdd_.empty()) {
        for (Ref<Timer>& timer : toAdd_) {
            timer->state_ = Timer::State::Scheduled;
            scheduled_.push_back(std::move(timer));
        }
        toAdd_.clear();
    }
    // Nothing changes scheduled_ while the timers fire; every change waits in the pending lists.
    const std::size_t count = scheduled_.size();
    for (std::size_t i = 0; i < count; ++i) scheduled_[i]->fire(dt);
}

}  // namespace quintora
