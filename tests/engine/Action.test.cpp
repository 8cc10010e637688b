#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

#include "engine/EaseAction.hpp"
#include "engine/Errors.hpp"
#include "engine/InstantAction.hpp"
#include "engine/IntervalAction.hpp"
#include "engine/Node.hpp"
#include "support/EngineTest.hpp"

namespace quintora {
namespace {

// A node with a colour and an opacity, as sprites and labels have.
class Tinted : public Node, public RGBAProtocol {
    QUINTORA_NODE(Tinted)
public:
    void setRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) override {
        r_ = r;
        g_ = g;
        b_ = b;
    }
    [[nodiscard]] std::uint8_t r() const override { return r_; }
    [[nodiscard]] std::uint8_t g() const override { return g_; }
    [[nodiscard]] std::uint8_t b() const override { return b_; }
    void setOpacity(std::uint8_t o) override { opacity_ = o; }
    [[nodiscard]] std::uint8_t opacity() const override { return opacity_; }

    void Arrived(Node* node) {
        ++calls;
        arrivedWith = node;
        positionAtCall = node->position();
    }
    void Called() { ++calls; }
    int calls = 0;
    Node* arrivedWith = nullptr;
    Point positionAtCall;

private:
    std::uint8_t r_ = 255, g_ = 255, b_ = 255, opacity_ = 255;
};

// Starts an action on a node and steps it the way the node's step timer does.
template <class A>
Ref<A> started(Node& node, Ref<A> action) {
    action->setTarget(&node);
    action->start();
    return action;
}

// Each action started on a fresh node and stepped by the deltas given: where the node ends up.
TEST(Actions, EachActionStepsItsPropertyByTheFractionOfItsDuration) {
    const struct {
        const char* what;
        std::function<Ref<FiniteTimeAction>(Tinted&)> make;
        std::vector<float> steps;
        Point position;
        float rotation;
        std::array<int, 4> rgbo;  // colour and opacity
        bool done;
    } cases[] = {
        {"a quarter of a move", [](Tinted&) { return MoveTo::actionWithDuration(1, {100, 0}); }, {0.25f}, {25, 0}, 0, {255, 255, 255, 255}, false},
        {"a move overshot", [](Tinted&) { return MoveTo::actionWithDuration(0.5f, {10, 20}); }, {3}, {10, 20}, 0, {255, 255, 255, 255}, true},
        {"a move of no time", [](Tinted&) { return MoveTo::actionWithDuration(0, {5, 5}); }, {0}, {5, 5}, 0, {255, 255, 255, 255}, true},
        {"350 to 10 the short way", [](Tinted& n) { n.setRotation(350); return RotateTo::actionWithDuration(1, 10); }, {0.5f}, {}, 360, {255, 255, 255, 255}, false},
        {"10 to 350", [](Tinted& n) { n.setRotation(10); return RotateTo::actionWithDuration(1, 350); }, {1}, {}, -10, {255, 255, 255, 255}, true},
        {"0 to 480", [](Tinted&) { return RotateTo::actionWithDuration(1, 480); }, {1}, {}, 120, {255, 255, 255, 255}, true},
        {"720 to 0, one correction", [](Tinted& n) { n.setRotation(720); return RotateTo::actionWithDuration(1, 0); }, {1}, {}, 360, {255, 255, 255, 255}, true},
        {"by 360", [](Tinted& n) { n.setRotation(30); return RotateBy::actionWithDuration(1, 360); }, {1}, {}, 390, {255, 255, 255, 255}, true},
        {"half a tint, truncated", [](Tinted&) { return TintTo::actionWithDuration(1, 255, 0, 0); }, {0.5f}, {}, 0, {255, 127, 127, 255}, false},
        {"half a fade in", [](Tinted&) { return FadeIn::actionWithDuration(1); }, {0.5f}, {}, 0, {255, 255, 255, 127}, false},
        {"a fade out starts opaque", [](Tinted& n) { n.setOpacity(10); return FadeOut::actionWithDuration(1); }, {0}, {}, 0, {255, 255, 255, 255}, false},
        {"a sequence skipping its first part", [](Tinted&) { return Sequence::actionOne(MoveTo::actionWithDuration(1, {100, 0}), MoveTo::actionWithDuration(1, {100, 100})); }, {1.5f}, {100, 50}, 0, {255, 255, 255, 255}, false},
        {"a folded list", [](Tinted&) { return Sequence::actions({MoveTo::actionWithDuration(1, {10, 0}), MoveTo::actionWithDuration(1, {10, 10}), MoveTo::actionWithDuration(1, {0, 10})}); }, {2.5f}, {5, 10}, 0, {255, 255, 255, 255}, false},
        {"a spawn pads the shorter", [](Tinted&) { return Spawn::actionOne(MoveTo::actionWithDuration(2, {200, 0}), RotateBy::actionWithDuration(1, 90)); }, {1, 0.5f}, {150, 0}, 90, {255, 255, 255, 255}, false},
        {"a spawn to its end", [](Tinted&) { return Spawn::actionOne(MoveTo::actionWithDuration(2, {200, 0}), RotateBy::actionWithDuration(1, 90)); }, {2}, {200, 0}, 90, {255, 255, 255, 255}, true},
        {"ease out passes the root", [](Tinted&) { return EaseOut::actionWithAction(MoveTo::actionWithDuration(1, {100, 0}), 3); }, {0.125f}, {50, 0}, 0, {255, 255, 255, 255}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Ref<Tinted> node = Tinted::node();
        Ref<FiniteTimeAction> action = c.make(*node);
        action->setTarget(node.get());
        action->start();
        for (float dt : c.steps) action->step(dt);
        EXPECT_NEAR(node->position().x, c.position.x, 1e-3);
        EXPECT_NEAR(node->position().y, c.position.y, 1e-3);
        EXPECT_FLOAT_EQ(node->rotation(), c.rotation);
        EXPECT_EQ((std::array<int, 4>{node->r(), node->g(), node->b(), node->opacity()}), c.rgbo);
        EXPECT_EQ(action->isDone(), c.done);
    }
}

TEST(Actions, SequencesCallBackOnArrivalAndListsFoldFromTheLeft) {
    Ref<Tinted> node = Tinted::node();
    auto seq = started(*node, Sequence::actionOne(MoveTo::actionWithDuration(1, {100, 0}),
                                                  CallFuncN::actionWithTarget(node.get(), QCALLN(Tinted, Arrived))));
    for (int i = 0; i < 3; ++i) seq->step(0.25f);
    EXPECT_EQ(node->calls, 0);
    seq->step(0.25f);
    EXPECT_EQ(node->calls, 1);
    EXPECT_EQ(node->arrivedWith, node.get());
    EXPECT_EQ(node->positionAtCall, (Point{100, 0}));

    // Two parts of no time both run at a zero delta.
    auto both = started(*node, Sequence::actionOne(MoveTo::actionWithDuration(0, {1, 1}),
                                                   CallFunc::actionWithTarget(node.get(), QCALL(Tinted, Called))));
    both->step(0);
    EXPECT_EQ(node->calls, 2);
    EXPECT_TRUE(both->isDone());

    Ref<FiniteTimeAction> alone = MoveTo::actionWithDuration(1, {1, 1});
    EXPECT_EQ(Sequence::actions({alone}), alone);
    EXPECT_EQ(Spawn::actions({alone}), alone);
    EXPECT_EQ(Sequence::actions({nullptr, alone}), nullptr);
    EXPECT_FLOAT_EQ(Sequence::actions({alone, DelayTime::actionWithDuration(2), nullptr, alone})->duration(), 3)
        << "entries after a null are not part of the list";
}

TEST(CombinedActions, NullArgumentsAndBareInitsAreRefused) {
    Ref<FiniteTimeAction> move = MoveTo::actionWithDuration(1, {1, 1});
    EXPECT_DEATH(Sequence::actionOne(nullptr, move), "Sequence: argument one must be non-nil");
    EXPECT_DEATH(Sequence::actionOne(move, nullptr), "Sequence: argument two must be non-nil");
    EXPECT_DEATH(Spawn::actionOne(nullptr, move), "Spawn: argument one must be non-nil");
    EXPECT_DEATH(Spawn::actionOne(move, nullptr), "Spawn: argument two must be non-nil");
    EXPECT_DEATH(EaseOut::actionWithAction(nullptr, 2), "Ease: arguments must be non-nil");
    try {
        IntervalAction::init();
        FAIL() << "expected IntervalActionInit";
    } catch (const EngineException& e) {
        EXPECT_EQ(e.name(), "IntervalActionInit");
        EXPECT_EQ(e.reason(), "Init not supported. Use InitWithDuration");
    }
}

TEST(ActionCopies, EveryKindCopiesToAFreshActionThatRunsOnItsOwn) {
    using Factory = Ref<FiniteTimeAction> (*)(Tinted&);
    // The name, the action, and how often one run of it calls back.
    const std::tuple<const char*, Factory, int> kinds[] = {
        {"MoveTo", [](Tinted&) -> Ref<FiniteTimeAction> { return MoveTo::actionWithDuration(1, {100, 50}); }, 0},
        {"RotateTo", [](Tinted&) -> Ref<FiniteTimeAction> { return RotateTo::actionWithDuration(1, 90); }, 0},
        {"RotateBy", [](Tinted&) -> Ref<FiniteTimeAction> { return RotateBy::actionWithDuration(1, 45); }, 0},
        {"TintTo", [](Tinted&) -> Ref<FiniteTimeAction> { return TintTo::actionWithDuration(1, 10, 20, 30); }, 0},
        {"FadeIn", [](Tinted&) -> Ref<FiniteTimeAction> { return FadeIn::actionWithDuration(1); }, 0},
        {"FadeOut", [](Tinted&) -> Ref<FiniteTimeAction> { return FadeOut::actionWithDuration(1); }, 0},
        {"Sequence",
         [](Tinted& caller) -> Ref<FiniteTimeAction> {
             return Sequence::actions({MoveTo::actionWithDuration(0.5f, {10, 0}), DelayTime::actionWithDuration(0.2f),
                                       CallFunc::actionWithTarget(&caller, QCALL(Tinted, Called))});
         }, 1},
        {"Spawn",
         [](Tinted&) -> Ref<FiniteTimeAction> {
             return Spawn::actions({RotateBy::actionWithDuration(1, 30), FadeOut::actionWithDuration(0.5f)});
         }, 0},
        {"EaseOut",
         [](Tinted&) -> Ref<FiniteTimeAction> {
             return EaseOut::actionWithAction(MoveTo::actionWithDuration(1, {0, 80}), 2);
         }, 0},
        {"CallFuncN",
         [](Tinted& caller) -> Ref<FiniteTimeAction> {
             return CallFuncN::actionWithTarget(&caller, QCALLN(Tinted, Arrived));
         }, 1},
    };
    for (const auto& [name, make, callsPerRun] : kinds) {
        SCOPED_TRACE(name);
        Ref<Tinted> caller = Tinted::node();
        Ref<Tinted> first = Tinted::node();
        Ref<Tinted> second = Tinted::node();
        first->setOpacity(100);
        second->setOpacity(100);
        auto original = started(*first, make(*caller));
        original->step(0.3f);
        const Point halfway = first->position();

        // Copied halfway through its original: the copy starts from the beginning on its own node.
        auto copy = copyOf(*original);
        EXPECT_EQ(copy->target(), nullptr);
        started(*second, copy);
        for (int i = 0; i < 10 && !copy->isDone(); ++i) copy->step(0.25f);
        EXPECT_TRUE(copy->isDone());
        EXPECT_EQ(first->position(), halfway) << "the original did not move";
        for (int i = 0; i < 10 && !original->isDone(); ++i) original->step(0.25f);
        EXPECT_EQ(second->position(), first->position());
        EXPECT_FLOAT_EQ(second->rotation(), first->rotation());
        EXPECT_EQ(std::tuple(second->r(), second->g(), second->b(), second->opacity()),
                  std::tuple(first->r(), first->g(), first->b(), first->opacity()));
        EXPECT_EQ(caller->calls, 2 * callsPerRun);
    }
}

}  // namespace
}  // namespace quintora
