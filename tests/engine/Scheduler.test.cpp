#include "engine/Scheduler.hpp"

#include <gtest/gtest.h>

#include "support/EngineTest.hpp"

namespace quintora {
namespace {

using SchedulerTest = testing::EngineTest;

// A timer target that counts its calls and keeps the time it was last given.
class Ticker : public Node {
    QUINTORA_NODE(Ticker)
  public:
    void First(float dt) {
        ++calls;
        received = dt;
    }
    int calls = 0;
    float received = 0;
};

TEST_F(SchedulerTest, ATimerFiresWithTheAccumulatedTimeAndDropsTheExcess) {
    Ref<Ticker> target = Ticker::node();
    Ref<Timer> timer = Timer::timerWithTarget(target.get(), QSEL(Ticker, First), 0.1f);
    timer->fire(0.06f);
    EXPECT_EQ(target->calls, 0);
    timer->fire(0.07f);
    EXPECT_EQ(target->calls, 1);
    EXPECT_FLOAT_EQ(target->received, 0.13f);
    timer->fire(0.07f);  // the 0.03 s beyond the interval were not carried over
    EXPECT_EQ(target->calls, 1);
    timer->fire(1.0f);  // at most once per frame
    EXPECT_EQ(target->calls, 2);
    EXPECT_EQ(target->retainCount(), 2) << "the timer keeps its target alive";
}

TEST_F(SchedulerTest, MisuseRaisesTheNamedExceptions) {
    Scheduler& scheduler = Scheduler::sharedScheduler();
    Ref<Ticker> a = Ticker::node();
    Ref<Timer> timer = Timer::timerWithTarget(a.get(), QSEL(Ticker, First));
    const std::pair<std::function<void()>, std::string> misuses[] = {
        {[&] { scheduler.unscheduleTimer(timer.get()); },
         "SchedulerTimerNotFound: Scheduler.unscheduleTimer not found"},
        {[&] { scheduler.scheduleTimer(timer.get()), scheduler.scheduleTimer(timer.get()); },
         "SchedulerTimerAlreadyScheduled: Scheduler.scheduleTimer already scheduled"},
        {[] { Timer::init(); }, "TimerInvalid"},
    };
    for (const auto& [misuse, expected] : misuses) {
        EXPECT_EQ(testing::engineExceptionOf(misuse).substr(0, expected.size()), expected);
    }
    scheduler.unscheduleTimer(timer.get());  // still waiting to be added: simply taken back
    EXPECT_EQ(scheduler.timerCount(), 0u);
}

}  // namespace
}  // namespace quintora
