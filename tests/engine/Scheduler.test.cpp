#include "engine/Scheduler.hpp"

#include <gtest/gtest.h>

#include "engine/Errors.hpp"
#include "support/EngineTest.hpp"

namespace quintora {
namespace {

using testing::EngineTest;
using testing::Journal;

// A timer target that notes its calls and the time it was given.
class Ticker : public Node {
    QUINTORA_NODE(Ticker)
public:
    void First(float dt) {
        journal->add(name + ".First");
        received = dt;
    }
    Journal* journal = nullptr;
    std::string name;
    float received = 0;
};

class SchedulerTest : public EngineTest {
public:
    Ref<Ticker> ticker(const std::string& name) {
        Ref<Ticker> t = Ticker::node();
        t->journal = &journal;
        t->name = name;
        return t;
    }
    Journal journal;
};

TEST_F(SchedulerTest, ATimerFiresWithTheAccumulatedTimeAndDropsTheExcess) {
    Ref<Ticker> target = ticker("t");
    Ref<Timer> timer = Timer::timerWithTarget(target.get(), QSEL(Ticker, First), 0.1f);
    auto calls = [&] { return journal.entries.size(); };
    timer->fire(0.06f);
    EXPECT_EQ(calls(), 0u);
    timer->fire(0.07f);
    EXPECT_EQ(calls(), 1u);
    EXPECT_FLOAT_EQ(target->received, 0.13f);
    timer->fire(0.07f);  // the 0.03 s beyond the interval were not carried over
    EXPECT_EQ(calls(), 1u);
    timer->fire(1.0f);  // at most once per frame
    EXPECT_EQ(calls(), 2u);
    EXPECT_EQ(target->retainCount(), 2) << "the timer keeps its target alive";
}

TEST_F(SchedulerTest, MisuseRaisesTheNamedExceptions) {
    Scheduler& scheduler = Scheduler::sharedScheduler();
    Ref<Ticker> a = ticker("a");
    Ref<Timer> timer = Timer::timerWithTarget(a.get(), QSEL(Ticker, First));
    const std::pair<std::function<void()>, std::string> misuses[] = {
        {[&] { scheduler.unscheduleTimer(timer.get()); }, "SchedulerTimerNotFound: Scheduler.unscheduleTimer not found"},
        {[&] { scheduler.scheduleTimer(timer.get()), scheduler.scheduleTimer(timer.get()); },
         "SchedulerTimerAlreadyScheduled: Scheduler.scheduleTimer already scheduled"},
        {[] { Timer::init(); }, "TimerInvalid"},
    };
    for (const auto& [misuse, expected] : misuses) {
        try {
            misuse();
            ADD_FAILURE() << "expected " << expected;
        } catch (const EngineException& e) {
            EXPECT_EQ((e.name() + ": " + e.reason()).substr(0, expected.size()), expected);
        }
    }
    scheduler.unscheduleTimer(timer.get());  // still waiting to be added: simply taken back
    EXPECT_EQ(scheduler.timerCount(), 0u);
}

}  // namespace
}  // namespace quintora
