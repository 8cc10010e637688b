// Every programming error the engine stops on, with its message: the texts are kept word for word, typos
// included, since callers may match them; this is the one place that spells them out.
#include <gtest/gtest.h>

#include <functional>

#include "engine/EaseAction.hpp"
#include "engine/IntervalAction.hpp"
#include "support/EngineTest.hpp"

namespace quintora {
namespace {

class TickingNode : public Node {
    QUINTORA_NODE(TickingNode)
  public:
    void Tick(float) {}
};

class Assertions : public testing::EngineTest {};

TEST_F(Assertions, EachStopsTheProgramWithItsMessage) {
    Ref<Node> parent = Node::node();
    Ref<Node> child = Node::node();
    parent->addChild(child.get());
    Ref<Node> stretched = Node::node();
    stretched->setScaleX(2);
    Ref<FiniteTimeAction> alone = MoveTo::actionWithDuration(1, {1, 1});
    Ref<MoveTo> move = MoveTo::actionWithDuration(1, {100, 0});
    const struct {
        const char* text;
        std::function<void()> call;
    } cases[] = {
        {"child already added. It can't be added again", [&] { parent->addChild(child.get()); }},
        {"Argument must be non-nil", [&] { parent->addChild(nullptr, 0, 0); }},
        {"Argument must be non-nil", [&] { parent->addChild(nullptr); }},
        {"Argument must be non-nil", [&] { child->schedule(Selector{}); }},
        {"Argument must be non-nil", [&] { director().replaceScene(nullptr); }},
        {"Invalid tag", [&] { (void)parent->getChildByTag(-1); }},
        {"Child must be non-nil", [&] { parent->reorderChild(nullptr, 1); }},
        {"scaleX is different from scaleY", [&] { (void)stretched->scale(); }},
        {"Arguemnt must be positive", [&] { child->schedule(QSEL(TickingNode, Tick), -1); }},
        {"Action already sheduled to run",
         [&] {
             runScene()->addChild(stretched.get());
             stretched->runAction(move);
             stretched->runAction(move);
         }},
        {"Action already running",
         [&] {
             runScene()->addChild(stretched.get());
             stretched->runAction(move);
             frames(2);
             stretched->runAction(move);
         }},
        {"A running Scene is needed", [&] { director().popScene(); }},
        {"animationTimer must be nil. Calling startAnimation twice?",
         [&] {
             runScene();
             director().startAnimation();
         }},
        {"Sequence: argument one must be non-nil", [&] { Sequence::actionOne(nullptr, alone); }},
        {"Sequence: argument two must be non-nil", [&] { Sequence::actionOne(alone, nullptr); }},
        {"Spawn: argument one must be non-nil", [&] { Spawn::actionOne(nullptr, alone); }},
        {"Spawn: argument two must be non-nil", [&] { Spawn::actionOne(alone, nullptr); }},
        {"Ease: arguments must be non-nil", [&] { EaseOut::actionWithAction(nullptr, 2); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DEATH(c.call(), c.text);
    }
}

}  // namespace
}  // namespace quintora
