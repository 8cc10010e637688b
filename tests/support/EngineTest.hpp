#pragma once
// A fixture for engine tests: a virtual clock that steps whole frames through the real Director, and a
// clean Director and Scheduler for every test.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/Director.hpp"
#include "engine/Errors.hpp"
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"
#include "engine/Scheduler.hpp"
#include "platform/Clock.hpp"

namespace quintora::testing {

class EngineTest : public ::testing::Test {
  public:
    static constexpr double kFrame = 1.0 / 60;

    void SetUp() override {
        platform::useVirtualClock(1230768000);
        director().setLandscape(true);
    }

    void TearDown() override {
        director().end();
        if (director().isPaused()) director().resume();
        director().setEventsEnabled(true);
        // Let the scheduler drop whatever the departing scene withdrew.
        Scheduler::sharedScheduler().tick(0);
    }

    static Director& director() { return Director::sharedDirector(); }

    // One frame of the given length on the virtual clock.
    static void frame(double seconds = kFrame) {
        platform::advanceVirtualClock(seconds);
        if (beforeFrame) beforeFrame();
        director().mainLoop();
    }
    // Runs after the clock moved and before the frame, in every frame, while set.
    static inline std::function<void()> beforeFrame;
    static void frames(int count, double seconds = kFrame) {
        for (int i = 0; i < count; ++i) frame(seconds);
    }

    // Runs a new scene and switches to it.
    static Ref<Scene> runScene() {
        Ref<Scene> scene = Scene::node();
        director().runWithScene(scene.get());
        frame();
        return scene;
    }
};

// "name: reason" of the engine exception `call` raises, or "no exception".
template <class Call>
std::string engineExceptionOf(Call call) {
    try {
        call();
    } catch (const EngineException& e) {
        return e.name() + ": " + e.reason();
    }
    return "no exception";
}

// Records, in one shared journal, the order in which nodes are drawn and called.
struct Journal {
    std::vector<std::string> entries;
    void add(std::string entry) { entries.push_back(std::move(entry)); }
};

}  // namespace quintora::testing
