#include "engine/Director.hpp"

#include <gtest/gtest.h>

#include "engine/IntervalAction.hpp"
#include "support/EngineTest.hpp"

namespace quintora {
namespace {

using testing::EngineTest;
using testing::Journal;
using Entries = std::vector<std::string>;

int liveNodes = 0;

// A layer that journals its life, its ticks and its draws.
class ProbeLayer : public Layer {
    QUINTORA_NODE(ProbeLayer)
  public:
    ProbeLayer() { ++liveNodes; }
    ~ProbeLayer() override { --liveNodes; }
    void onEnter() override {
        note(".enter");
        Layer::onEnter();
    }
    void onExit() override {
        note(".exit");
        Layer::onExit();
    }
    void draw() override { note(".draw"); }
    void Tick(float dt) {
        note(".tick");
        lastDt = dt;
        ++ticks;
    }
    void note(const char* what) {
        if (journal) journal->add(name + what);
    }
    Journal* journal = nullptr;
    std::string name;
    float lastDt = -1;
    int ticks = 0;
};

class DirectorTest : public EngineTest {
  protected:
    Ref<ProbeLayer> probe(const std::string& name) {
        Ref<ProbeLayer> layer = ProbeLayer::node();
        layer->journal = &journal;
        layer->name = name;
        return layer;
    }
    Ref<Scene> sceneWith(const std::string& name, Ref<ProbeLayer>* out = nullptr) {
        Ref<Scene> scene = Scene::node();
        Ref<ProbeLayer> layer = probe(name);
        scene->addChild(layer.get());
        if (out) *out = layer;
        return scene;
    }
    Journal journal;
};

TEST_F(DirectorTest, DeltaTimeIsNeverNegative) {
    Ref<ProbeLayer> layer;
    director().runWithScene(sceneWith("a", &layer).get());
    layer->schedule(QSEL(ProbeLayer, Tick));
    frames(2);
    EXPECT_NEAR(layer->lastDt, 1.0 / 60, 1e-5);
    frame(-5.0);  // the clock went backwards
    EXPECT_FLOAT_EQ(layer->lastDt, 0);
    frame(2.0);
    EXPECT_NEAR(layer->lastDt, 2.0, 1e-5);
}

TEST_F(DirectorTest, ReplacedScenesAreFreedWithTheirTimersAndRunningActions) {
    const int before = liveNodes;
    director().runWithScene(sceneWith("first").get());
    frame();
    for (int i = 0; i < 1000; ++i) {
        Ref<ProbeLayer> layer;
        Ref<Scene> scene = sceneWith("s", &layer);
        layer->journal = nullptr;
        layer->schedule(QSEL(ProbeLayer, Tick), 0.1f);
        Ref<Node> mover = Node::node();
        layer->addChild(mover.get());
        mover->runAction(MoveTo::actionWithDuration(10, {480, 320}));
        director().replaceScene(scene.get());
        frame();
    }
    // The scheduler lets go of the last outgoing scene's timers at the next tick; then the running
    // scene's layer is the only probe left alive.
    frame();
    EXPECT_EQ(liveNodes, before + 1);
    director().end();
    Scheduler::sharedScheduler().tick(0);
    EXPECT_EQ(liveNodes, before);
    EXPECT_EQ(Scheduler::sharedScheduler().timerCount(), 0u);
}

TEST_F(DirectorTest, PopAndEnd) {
    Ref<ProbeLayer> a, b;
    director().runWithScene(sceneWith("a", &a).get());
    frame();
    director().pushScene(sceneWith("b", &b).get());
    frame();
    a->schedule(QSEL(ProbeLayer, Tick));
    director().popScene();
    frame();
    frame();
    EXPECT_EQ(a->ticks, 1) << "a pushed-over scene comes back with its timers";
    director().popScene();
    EXPECT_EQ(director().runningScene(), nullptr);
    EXPECT_FALSE(director().isAnimating());
    director().startAnimation();
    EXPECT_TRUE(director().isAnimating());
}

}  // namespace
}  // namespace quintora
