#include "engine/Node.hpp"

#include <gtest/gtest.h>

#include "engine/EaseAction.hpp"
#include "engine/IntervalAction.hpp"
#include "support/EngineTest.hpp"

namespace quintora {
namespace {

using testing::EngineTest;

class TickingNode : public Node {
    QUINTORA_NODE(TickingNode)
  public:
    void Tick(float) {}
};

TEST(NodeTree, ChildrenAreOrderedByZAndFoundAndRemovedByTag) {
    Ref<Node> parent = Node::node();
    Ref<Node> a = Node::node(), b = Node::node(), c = Node::node();
    parent->add(a.get(), 1, 7);
    parent->add(b.get(), 2, 7);
    parent->addChild(c.get(), 1);
    EXPECT_EQ(parent->children(), (std::vector<Ref<Node>>{a, c, b})) << "equal z keeps the order of addition";
    parent->reorderChild(a.get(), 2);
    EXPECT_EQ(parent->children(), (std::vector<Ref<Node>>{c, b, a}))
        << "after the ones that already have that z";
    EXPECT_EQ(parent->getByTag(7), b.get());
    parent->removeByTag(7);
    EXPECT_EQ(parent->getByTag(7), a.get());
    EXPECT_EQ(b->parent(), nullptr);
    // A missing tag, a stranger and null change nothing.
    parent->removeChildByTag(99, true);
    Ref<Node> stranger = Node::node();
    parent->removeChild(stranger.get(), true);
    parent->removeChild(nullptr, true);
    EXPECT_EQ(parent->children().size(), 2u);
    parent->removeAndStopAll();
    EXPECT_TRUE(parent->children().empty());
    EXPECT_EQ(a->parent(), nullptr);
}

class NodeLifeTest : public EngineTest {};

TEST_F(NodeLifeTest, AnActionRunsOnceAndStopAllThenRunInTheSameFrameStepsOnlyTheNewOne) {
    Ref<Scene> scene = runScene();
    Ref<Node> node = Node::node();
    scene->addChild(node.get());
    Ref<MoveTo> move = MoveTo::actionWithDuration(1, {100, 0});
    node->runAction(move);
    frames(2);
    const float xBefore = node->position().x;
    node->stopAllActions();
    Ref<MoveTo> up = MoveTo::actionWithDuration(1, {xBefore, 300});
    node->runAction(up);
    frame();
    EXPECT_FLOAT_EQ(node->position().x, xBefore) << "the old move must not be stepped again";
    EXPECT_GT(node->position().y, 0);
    EXPECT_EQ(node->numberOfRunningActions(), 1);
    // Stopped (twice) but not yet removed: run again, it goes on. Stopping one no longer listed does nothing.
    node->stopAction(up.get());
    node->stopAction(up.get());
    node->stopAction(move.get());
    node->runAction(up);
    frames(70);
    EXPECT_FLOAT_EQ(node->position().y, 300);
}

// Every programming error the engine stops on, with its message: the texts are kept word for word, typos
// included, since callers may match them; this is the one place that spells them out.
TEST_F(NodeLifeTest, EachProgrammingErrorStopsTheProgramWithItsMessage) {
    Ref<Node> parent = Node::node(), child = Node::node(), stretched = Node::node(), moving = Node::node();
    parent->addChild(child.get());
    stretched->setScaleX(2);
    Ref<FiniteTimeAction> alone = MoveTo::actionWithDuration(1, {1, 1});
    Ref<MoveTo> move = MoveTo::actionWithDuration(1, {100, 0});
    EXPECT_DEATH(parent->addChild(child.get()), "child already added. It can't be added again");
    EXPECT_DEATH(parent->addChild(nullptr, 0, 0), "Argument must be non-nil");
    EXPECT_DEATH(parent->addChild(nullptr), "Argument must be non-nil");
    EXPECT_DEATH(child->schedule(Selector{}), "Argument must be non-nil");
    EXPECT_DEATH(director().replaceScene(nullptr), "Argument must be non-nil");
    EXPECT_DEATH((void)parent->getChildByTag(-1), "Invalid tag");
    EXPECT_DEATH(parent->reorderChild(nullptr, 1), "Child must be non-nil");
    EXPECT_DEATH((void)stretched->scale(), "scaleX is different from scaleY");
    EXPECT_DEATH(child->schedule(QSEL(TickingNode, Tick), -1), "Arguemnt must be positive");
    EXPECT_DEATH(director().popScene(), "A running Scene is needed");
    EXPECT_DEATH(Sequence::actionOne(nullptr, alone), "Sequence: argument one must be non-nil");
    EXPECT_DEATH(Sequence::actionOne(alone, nullptr), "Sequence: argument two must be non-nil");
    EXPECT_DEATH(Spawn::actionOne(nullptr, alone), "Spawn: argument one must be non-nil");
    EXPECT_DEATH(Spawn::actionOne(alone, nullptr), "Spawn: argument two must be non-nil");
    EXPECT_DEATH(EaseOut::actionWithAction(nullptr, 2), "Ease: arguments must be non-nil");
    runScene()->addChild(moving.get());
    EXPECT_DEATH(director().startAnimation(), "animationTimer must be nil. Calling startAnimation twice?");
    moving->runAction(move);
    EXPECT_DEATH(moving->runAction(move), "Action already sheduled to run");
    frames(2);
    EXPECT_DEATH(moving->runAction(move), "Action already running");
}

}  // namespace
}  // namespace quintora
