#include "engine/Node.hpp"

#include <gtest/gtest.h>

#include "engine/IntervalAction.hpp"
#include "support/EngineTest.hpp"

namespace quintora {
namespace {

using testing::EngineTest;

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

}  // namespace
}  // namespace quintora
