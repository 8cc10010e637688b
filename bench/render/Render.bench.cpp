// CPU time of whole drawn frames on the headless GL context (llvmpipe): a typical stage of about fifty
// sprites and three labels over a full-screen background, and a crowd of 2,000 sprites.
// Run: build/release/bench/render/render_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "engine/Director.hpp"
#include "engine/IntervalAction.hpp"
#include "engine/Label.hpp"
#include "engine/Scene.hpp"
#include "engine/Scheduler.hpp"
#include "engine/Sprite.hpp"
#include "platform/Clock.hpp"
#include "platform/Display.hpp"

namespace {

using namespace quintora;

const char* const kSmallImages[] = {"life.png",  "golfball.png",    "card0.png", "tshirts0small.png",
                                    "xmas3.png", "mathnumber1.png", "car.png",   "tree.png"};

Director& attachedDirector() {
    static platform::Display* display = platform::openHeadlessDisplay(1).release();
    Director& director = Director::sharedDirector();
    if (!director.isAttached()) {
        director.setLandscape(true);
        director.attachInWindow(display);
    }
    return director;
}

void runScene(benchmark::State& state, int sprites, int labels) {
    platform::useVirtualClock(1230768000);
    Director& director = attachedDirector();
    Ref<Scene> scene = Scene::node();
    Ref<Sprite> background = Sprite::spriteWithFile("mainbg.png");
    background->setPosition({240, 160});
    scene->addChild(background.get(), 0);
    for (int i = 0; i < sprites; ++i) {
        Ref<Sprite> sprite = Sprite::spriteWithFile(kSmallImages[i % std::size(kSmallImages)]);
        sprite->setPosition(
            {static_cast<float>(20 + (i * 37) % 440), static_cast<float>(20 + (i * 53) % 280)});
        scene->addChild(sprite.get(), 1 + i % 3);
        if (i % 4 == 0) sprite->runAction(MoveTo::actionWithDuration(1e6f, {240, 160}));
    }
    for (int i = 0; i < labels; ++i) {
        Ref<Label> label = Label::labelWithString("Label 123", "Marker Felt", 24);
        label->setPosition({240, 60.0f + 80.0f * static_cast<float>(i)});
        scene->addChild(label.get(), 5);
    }
    director.runWithScene(scene.get());
    for (auto _ : state) {
        platform::advanceVirtualClock(director.animationInterval());
        director.mainLoop();
    }
    director.end();
    Scheduler::sharedScheduler().tick(0);
}

void TypicalStage(benchmark::State& state) { runScene(state, 50, 3); }
void TwoThousandSprites(benchmark::State& state) { runScene(state, 2000, 0); }

}  // namespace

BENCHMARK(TypicalStage)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(TwoThousandSprites)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
