#include "engine/Scheduler.hpp"

#include <gtest/gtest.h>

#include "engine/Errors.hpp"
#include "support/EngineTest.hpp"

namespace quintora {
namespace {

using testing::EngineTest;
using testing::Journal;

// Timer targets that note their calls and can reschedule each other from inside a tick.
class Ticker : public Node {
    QUINTORA_NODE(Ticker)
public:
    void First(float dt) {
        journal->add(name + ".First");
        received = dt;
        if (onFirst) onFirst(*this);
    }
    void Second(float) { journal->add(name + ".Second"); }
    Journal* journal = nullptr;
    std::string name;
    std::function<void(Ticker&)> onFirst;
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

TEST_F(SchedulerTest, ChangesDuringATickWaitForTheNextOne) {
    Ref<Scene> scene = runScene();
    Ref<Ticker> a = ticker("a"), b = ticker("b");
    for (const Ref<Ticker>& t : {a, b}) {
        scene->addChild(t.get());
        t->schedule(QSEL(Ticker, First));
    }
    frame();
    ASSERT_EQ(journal.entries, (std::vector<std::string>{"a.First", "b.First"}));

    // a withdraws b's timer and schedules a new one of its own during the tick: b still fires in this
    // tick, and a's new timer first fires at the next.
    a->onFirst = [&](Ticker& self) {
        b->unschedule(QSEL(Ticker, First));
        self.schedule(QSEL(Ticker, Second));
        self.onFirst = nullptr;
    };
    journal.entries.clear();
    frame();
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"a.First", "b.First"}));
    journal.entries.clear();
    frame();
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"a.First", "a.Second"}));
}

TEST_F(SchedulerTest, UnschedulingAndReschedulingItselfInOneTickKeepsOneTimer) {
    Ref<Scene> scene = runScene();
    Ref<Ticker> a = ticker("a");
    scene->addChild(a.get());
    a->schedule(QSEL(Ticker, First));
    a->onFirst = [](Ticker& self) {
        self.unschedule(QSEL(Ticker, First));
        self.schedule(QSEL(Ticker, First));
        self.onFirst = nullptr;
    };
    frames(3);
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"a.First", "a.First", "a.First"}));
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
