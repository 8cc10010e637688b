// The cost of one frame of the engine without drawing: the scheduler's tick, the action steps and the
// tree walk. Run: build/release/bench/engine/engine_bench
#include <benchmark/benchmark.h>

#include "engine/Director.hpp"
#include "engine/IntervalAction.hpp"
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"
#include "engine/Scheduler.hpp"
#include "platform/Clock.hpp"

namespace {

using namespace quintora;

class TickingNode : public Node {
    QUINTORA_NODE(TickingNode)
  public:
    void Tick(float) { ++ticks; }
    int ticks = 0;
};

enum class Load { MovingNodes, TimedNodes };

// Builds a running scene of `count` nodes, each running a long move or a 0.1 s timer, and measures
// whole frames of the Director.
void runFrames(benchmark::State& state, Load load) {
    const int count = static_cast<int>(state.range(0));
    platform::useVirtualClock(1230768000);
    Director& director = Director::sharedDirector();
    director.setLandscape(true);
    Ref<Scene> scene = Scene::node();
    Ref<Layer> layer = Layer::node();
    scene->addChild(layer.get());
    for (int i = 0; i < count; ++i) {
        Ref<TickingNode> node = TickingNode::node();
        node->setPosition({static_cast<float>(i % 480), static_cast<float>(i % 320)});
        layer->addChild(node.get(), i % 7);
        if (load == Load::MovingNodes) {
            // Long enough never to finish during the measurement.
            node->runAction(MoveTo::actionWithDuration(1e6f, {480, 320}));
        } else {
            node->schedule(QSEL(TickingNode, Tick), 0.1f);
        }
    }
    director.runWithScene(scene.get());
    for (int i = 0; i < 3; ++i) {
        platform::advanceVirtualClock(1.0 / 60);
        director.mainLoop();
    }
    for (auto _ : state) {
        platform::advanceVirtualClock(1.0 / 60);
        director.mainLoop();
    }
    state.counters["ns_per_node"] =
        benchmark::Counter(static_cast<double>(count),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    director.end();
    Scheduler::sharedScheduler().tick(0);
}

void FrameWithMovingNodes(benchmark::State& state) { runFrames(state, Load::MovingNodes); }
void FrameWithTimedNodes(benchmark::State& state) { runFrames(state, Load::TimedNodes); }

// The tree walk alone, for the cost per visited node.
void VisitOnly(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Ref<Layer> layer = Layer::node();
    for (int i = 0; i < count; ++i) {
        Ref<Node> node = Node::node();
        node->setPosition({static_cast<float>(i % 480), static_cast<float>(i % 320)});
        node->setTransformAnchor({16, 16});
        node->setRotation(static_cast<float>(i % 3));
        layer->addChild(node.get(), i % 7 - 3);
    }
    for (auto _ : state) layer->visit();
    state.counters["ns_per_node"] =
        benchmark::Counter(static_cast<double>(count),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(FrameWithMovingNodes)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameWithTimedNodes)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(VisitOnly)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
