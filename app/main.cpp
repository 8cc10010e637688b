// Until the GL view is in, the game binary runs a small demo scene through the engine without a window
// and reports what it did.
#include <cstdio>

#include "engine/Director.hpp"
#include "engine/IntervalAction.hpp"
#include "engine/InstantAction.hpp"
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"
#include "platform/Clock.hpp"
#include "platform/Log.hpp"

using namespace quintora;

namespace {

class DemoLayer : public Layer {
    QUINTORA_NODE(DemoLayer)
public:
    void init() override {
        Layer::init();
        mover_ = Node::node();
        addChild(mover_.get());
        mover_->runAction(Sequence::actions({MoveTo::actionWithDuration(1.0f, {480, 320}),
                                             CallFunc::actionWithTarget(this, QCALL(DemoLayer, Arrived))}));
        schedule(QSEL(DemoLayer, Tick), 0.1f);
    }
    void Tick(float) { ++ticks_; }
    void Arrived() {
        std::printf("demo: the node reached (%.0f, %.0f) after %d ticks of 0.1 s\n", mover_->position().x,
                    mover_->position().y, ticks_);
        done_ = true;
    }
    [[nodiscard]] bool done() const { return done_; }

private:
    Ref<Node> mover_;
    int ticks_ = 0;
    bool done_ = false;
};

}  // namespace

int main() {
    platform::useVirtualClock(1230768000);
    Director& director = Director::sharedDirector();
    director.setLandscape(true);
    Ref<Scene> scene = Scene::node();
    Ref<DemoLayer> layer = DemoLayer::node();
    scene->addChild(layer.get());
    director.runWithScene(scene.get());
    int frame = 0;
    while (!layer->done() && frame < 600) {
        platform::advanceVirtualClock(director.animationInterval());
        director.mainLoop();
        ++frame;
    }
    std::printf("demo: %d frames at %.0f frames a second on a %gx%g landscape scene\n", frame,
                1.0 / director.animationInterval(), director.winSize().width, director.winSize().height);
    director.end();
    return layer->done() ? 0 : 1;
}
