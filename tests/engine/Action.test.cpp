#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

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

TEST(IntervalActions, MoveToStepsByTheFractionAndEndsExactly) {
    Ref<Tinted> node = Tinted::node();
    auto move = started(*node, MoveTo::actionWithDuration(1, {100, 0}));
    const float expected[] = {25, 50, 75, 100};
    for (float x : expected) {
        EXPECT_FALSE(move->isDone());
        move->step(0.25f);
        EXPECT_FLOAT_EQ(node->position().x, x);
    }
    EXPECT_TRUE(move->isDone());

    // One delta larger than the whole duration lands on the end value.
    node->setPosition({0, 0});
    auto jump = started(*node, MoveTo::actionWithDuration(0.5f, {10, 20}));
    jump->step(3);
    EXPECT_EQ(node->position(), (Point{10, 20}));

    // The start point is read when the action starts, not when it is made.
    Ref<MoveTo> late = MoveTo::actionWithDuration(1, {0, 0});
    node->setPosition({40, 40});
    started(*node, late)->step(0.5f);
    EXPECT_EQ(node->position(), (Point{20, 20}));
}

TEST(IntervalActions, RotationsTurnTheWayTheirRulesSay) {
    Ref<Tinted> node = Tinted::node();
    auto turnTo = [&](float from, float to) {
        node->setRotation(from);
        auto rotate = started(*node, RotateTo::actionWithDuration(1, to));
        rotate->step(0.5f);
        const float halfway = node->rotation();
        rotate->step(0.5f);
        return std::pair{halfway, node->rotation()};
    };
    EXPECT_FLOAT_EQ(turnTo(350, 10).first, 360);  // +20, the short way
    EXPECT_FLOAT_EQ(turnTo(350, 10).second, 370);
    EXPECT_FLOAT_EQ(turnTo(10, 350).second, -10);  // -20
    EXPECT_FLOAT_EQ(turnTo(0, 480).second, 120);   // 480 is 120 the short way
    EXPECT_FLOAT_EQ(turnTo(720, 0).second, 360);   // one correction only: -360, not 0

    node->setRotation(30);
    started(*node, RotateBy::actionWithDuration(1, 360))->step(1);
    EXPECT_FLOAT_EQ(node->rotation(), 390);
}

TEST(IntervalActions, TintAndFadesTruncateTheirComponents) {
    Ref<Tinted> node = Tinted::node();
    auto tint = started(*node, TintTo::actionWithDuration(1, 255, 0, 0));
    tint->step(0.5f);
    EXPECT_EQ(node->r(), 255);
    EXPECT_EQ(node->g(), 127);
    EXPECT_EQ(node->b(), 127);

    auto fadeIn = started(*node, FadeIn::actionWithDuration(1));
    fadeIn->step(0.5f);
    EXPECT_EQ(node->opacity(), 127);
    auto fadeOut = started(*node, FadeOut::actionWithDuration(1));
    fadeOut->step(0.0f);
    EXPECT_EQ(node->opacity(), 255) << "a fade-out always starts from opaque";
    fadeOut->step(1.0f);
    EXPECT_EQ(node->opacity(), 0);
}

TEST(IntervalActions, ZeroDurationFinishesAtOnceEvenWithAZeroDelta) {
    Ref<Tinted> node = Tinted::node();
    auto move = started(*node, MoveTo::actionWithDuration(0, {5, 5}));
    move->step(0);
    EXPECT_EQ(node->position(), (Point{5, 5}));
    EXPECT_TRUE(move->isDone());

    // Two zero-length parts in a sequence: both run.
    node->setPosition({0, 0});
    auto both = started(*node, Sequence::actionOne(MoveTo::actionWithDuration(0, {1, 1}),
                                                   CallFunc::actionWithTarget(node.get(), QCALL(Tinted, Called))));
    both->step(0);
    EXPECT_EQ(node->calls, 1);
    EXPECT_EQ(node->position(), (Point{1, 1}));
    EXPECT_TRUE(both->isDone());
}

TEST(CombinedActions, ASequenceCallsBackOnceWhenTheMoveArrives) {
    Ref<Tinted> node = Tinted::node();
    auto seq = started(*node, Sequence::actionOne(MoveTo::actionWithDuration(1, {100, 0}),
                                                  CallFuncN::actionWithTarget(node.get(), QCALLN(Tinted, Arrived))));
    for (int i = 0; i < 3; ++i) seq->step(0.25f);
    EXPECT_EQ(node->calls, 0);
    seq->step(0.25f);
    EXPECT_EQ(node->calls, 1);
    EXPECT_EQ(node->arrivedWith, node.get());
    EXPECT_EQ(node->positionAtCall, (Point{100, 0}));
    EXPECT_TRUE(seq->isDone());
}

TEST(CombinedActions, ASkippedFirstPartStillLandsOnItsEndBeforeTheSecond) {
    Ref<Tinted> node = Tinted::node();
    auto seq = started(*node, Sequence::actionOne(MoveTo::actionWithDuration(1, {100, 0}),
                                                  MoveTo::actionWithDuration(1, {100, 100})));
    seq->step(1.5f);
    // The second move started from the first one's end point.
    EXPECT_FLOAT_EQ(node->position().x, 100);
    EXPECT_FLOAT_EQ(node->position().y, 50);
}

TEST(CombinedActions, SpawnRunsTogetherAndPadsTheShorter) {
    Ref<Tinted> node = Tinted::node();
    auto spawn = started(*node, Spawn::actionOne(MoveTo::actionWithDuration(2, {200, 0}),
                                                 RotateBy::actionWithDuration(1, 90)));
    EXPECT_FLOAT_EQ(spawn->duration(), 2);
    spawn->step(1);
    EXPECT_FLOAT_EQ(node->position().x, 100);
    EXPECT_FLOAT_EQ(node->rotation(), 90);
    spawn->step(0.5f);
    EXPECT_FLOAT_EQ(node->rotation(), 90) << "the rotation holds after its second";
    spawn->step(0.5f);
    EXPECT_FLOAT_EQ(node->position().x, 200);
    EXPECT_TRUE(spawn->isDone());
}

TEST(CombinedActions, ListsFoldFromTheLeft) {
    Ref<Tinted> node = Tinted::node();
    Ref<FiniteTimeAction> alone = MoveTo::actionWithDuration(1, {1, 1});
    EXPECT_EQ(Sequence::actions({alone}), alone);
    EXPECT_EQ(Spawn::actions({alone}), alone);
    EXPECT_EQ(Sequence::actions({nullptr, alone}), nullptr);

    // Entries after a null are not part of the list.
    Ref<FiniteTimeAction> two = Sequence::actions({alone, DelayTime::actionWithDuration(2), nullptr, alone});
    EXPECT_FLOAT_EQ(two->duration(), 3);
    Ref<FiniteTimeAction> three =
        Sequence::actions({MoveTo::actionWithDuration(1, {10, 0}), MoveTo::actionWithDuration(1, {10, 10}),
                           MoveTo::actionWithDuration(1, {0, 10})});
    EXPECT_FLOAT_EQ(three->duration(), 3);
    started(*node, three)->step(2.5f);
    EXPECT_FLOAT_EQ(node->position().x, 5);
    EXPECT_FLOAT_EQ(node->position().y, 10);
}

TEST(CombinedActions, EaseOutPassesTheRootOfTheFraction) {
    Ref<Tinted> node = Tinted::node();
    auto ease = started(*node, EaseOut::actionWithAction(MoveTo::actionWithDuration(1, {100, 0}), 3));
    ease->step(0.125f);
    EXPECT_NEAR(node->position().x, 50, 1e-4);
    EXPECT_FLOAT_EQ(ease->duration(), 1);
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
