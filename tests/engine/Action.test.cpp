#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/EaseAction.hpp"
#include "engine/InstantAction.hpp"
#include "engine/IntervalAction.hpp"
#include "engine/Node.hpp"
#include "support/EngineTest.hpp"

namespace quintora {
namespace {

using Rgbo = std::array<int, 4>;  // colour and opacity

// A node with a colour and an opacity, as sprites and labels have, that also counts the calls it gets.
class Tinted : public Node, public RGBAProtocol {
    QUINTORA_NODE(Tinted)
  public:
    void setRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) override { rgbo_ = {r, g, b, rgbo_[3]}; }
    [[nodiscard]] std::uint8_t r() const override { return rgbo_[0]; }
    [[nodiscard]] std::uint8_t g() const override { return rgbo_[1]; }
    [[nodiscard]] std::uint8_t b() const override { return rgbo_[2]; }
    void setOpacity(std::uint8_t o) override { rgbo_[3] = o; }
    [[nodiscard]] std::uint8_t opacity() const override { return rgbo_[3]; }
    [[nodiscard]] Rgbo rgbo() const { return {rgbo_[0], rgbo_[1], rgbo_[2], rgbo_[3]}; }

    void Arrived(Node* node) {
        ++calls;
        positionAtCall = node->position();
    }
    void Called() {
        ++calls;
        positionAtCall = position();
    }
    int calls = 0;
    Point positionAtCall;

  private:
    std::array<std::uint8_t, 4> rgbo_{255, 255, 255, 255};
};

Ref<MoveTo> move(float duration, Point to) { return MoveTo::actionWithDuration(duration, to); }
Ref<CallFuncN> arrived(Tinted& n) { return CallFuncN::actionWithTarget(&n, QCALLN(Tinted, Arrived)); }
Ref<CallFunc> called(Tinted& n) { return CallFunc::actionWithTarget(&n, QCALL(Tinted, Called)); }

// Each action started on a fresh node (which also takes its calls) and stepped by the deltas given: where
// the node ends up, and how often a whole run of the action calls back.
const struct ActionCase {
    const char* what;
    std::function<Ref<FiniteTimeAction>(Tinted&)> make;
    std::vector<float> steps;
    Point position;
    float rotation;
    Rgbo rgbo;
    bool done;
    int calls;
} kActions[] = {
    // One row a line, so that the cases read as a table.
    // clang-format off
    {"a quarter of a move", [](Tinted&) { return move(1, {100, 0}); }, {0.25f}, {25, 0}, 0, {255, 255, 255, 255}, false, 0},
    {"a move overshot", [](Tinted&) { return move(0.5f, {10, 20}); }, {3}, {10, 20}, 0, {255, 255, 255, 255}, true, 0},
    {"350 to 10 the short way", [](Tinted& n) { n.setRotation(350); return RotateTo::actionWithDuration(1, 10); }, {0.5f}, {}, 360, {255, 255, 255, 255}, false, 0},
    {"10 to 350", [](Tinted& n) { n.setRotation(10); return RotateTo::actionWithDuration(1, 350); }, {1}, {}, -10, {255, 255, 255, 255}, true, 0},
    {"0 to 480", [](Tinted&) { return RotateTo::actionWithDuration(1, 480); }, {1}, {}, 120, {255, 255, 255, 255}, true, 0},
    {"720 to 0, one correction", [](Tinted& n) { n.setRotation(720); return RotateTo::actionWithDuration(1, 0); }, {1}, {}, 360, {255, 255, 255, 255}, true, 0},
    {"by 360", [](Tinted& n) { n.setRotation(30); return RotateBy::actionWithDuration(1, 360); }, {1}, {}, 390, {255, 255, 255, 255}, true, 0},
    {"half a tint, truncated", [](Tinted&) { return TintTo::actionWithDuration(1, 255, 0, 0); }, {0.5f}, {}, 0, {255, 127, 127, 255}, false, 0},
    {"half a fade in", [](Tinted&) { return FadeIn::actionWithDuration(1); }, {0.5f}, {}, 0, {255, 255, 255, 127}, false, 0},
    {"a fade out starts opaque", [](Tinted& n) { n.setOpacity(10); return FadeOut::actionWithDuration(1); }, {0}, {}, 0, {255, 255, 255, 255}, false, 0},
    {"a sequence skipping its first part", [](Tinted&) { return Sequence::actionOne(move(1, {100, 0}), move(1, {100, 100})); }, {1.5f}, {100, 50}, 0, {255, 255, 255, 255}, false, 0},
    {"a folded list", [](Tinted&) { return Sequence::actions({move(1, {10, 0}), move(1, {10, 10}), move(1, {0, 10})}); }, {2.5f}, {5, 10}, 0, {255, 255, 255, 255}, false, 0},
    {"a call not before arrival", [](Tinted& n) { return Sequence::actionOne(move(1, {100, 0}), arrived(n)); }, {0.25f, 0.25f, 0.25f}, {75, 0}, 0, {255, 255, 255, 255}, false, 1},
    {"a call on arrival", [](Tinted& n) { return Sequence::actionOne(move(1, {100, 0}), arrived(n)); }, {0.25f, 0.25f, 0.25f, 0.25f}, {100, 0}, 0, {255, 255, 255, 255}, true, 1},
    {"a call alone", [](Tinted& n) { return arrived(n); }, {0}, {}, 0, {255, 255, 255, 255}, true, 1},
    {"two parts of no time at a zero delta", [](Tinted& n) { return Sequence::actionOne(move(0, {1, 1}), called(n)); }, {0}, {1, 1}, 0, {255, 255, 255, 255}, true, 1},
    {"a spawn pads the shorter", [](Tinted&) { return Spawn::actionOne(move(2, {200, 0}), RotateBy::actionWithDuration(1, 90)); }, {1, 0.5f}, {150, 0}, 90, {255, 255, 255, 255}, false, 0},
    {"a spawn to its end", [](Tinted&) { return Spawn::actions({move(2, {200, 0}), RotateBy::actionWithDuration(1, 90), FadeOut::actionWithDuration(0.5f)}); }, {2}, {200, 0}, 90, {255, 255, 255, 0}, true, 0},
    {"ease out passes the root", [](Tinted&) { return EaseOut::actionWithAction(move(1, {100, 0}), 3); }, {0.125f}, {50, 0}, 0, {255, 255, 255, 255}, false, 0},
    // clang-format on
};

TEST(Actions, EachActionStepsItsPropertyByTheFractionOfItsDuration) {
    for (const ActionCase& c : kActions) {
        SCOPED_TRACE(c.what);
        Ref<Tinted> node = Tinted::node();
        Ref<FiniteTimeAction> action = c.make(*node);
        action->setTarget(node.get());
        action->start();
        for (float dt : c.steps) action->step(dt);
        EXPECT_NEAR(node->position().x, c.position.x, 1e-3);
        EXPECT_NEAR(node->position().y, c.position.y, 1e-3);
        EXPECT_FLOAT_EQ(node->rotation(), c.rotation);
        EXPECT_EQ(node->rgbo(), c.rgbo);
        EXPECT_EQ(action->isDone(), c.done);
        EXPECT_EQ(node->calls, c.done ? c.calls : 0);
        if (node->calls > 0) {
            EXPECT_EQ(node->positionAtCall, c.position);
        }
    }
}

TEST(CombinedActions, BareInitsAreRefusedAndNullEndsAList) {
    Ref<FiniteTimeAction> alone = move(1, {1, 1});
    EXPECT_EQ(testing::engineExceptionOf([] { IntervalAction::init(); }),
              "IntervalActionInit: Init not supported. Use InitWithDuration");
    EXPECT_EQ(Sequence::actions({alone}), alone);
    EXPECT_EQ(Spawn::actions({alone}), alone);
    EXPECT_EQ(Sequence::actions({nullptr, alone}), nullptr);
    EXPECT_FLOAT_EQ(Sequence::actions({alone, DelayTime::actionWithDuration(2), nullptr, alone})->duration(),
                    3)
        << "entries after a null are not part of the list";
}

// Every kind above, copied halfway through its original: the copy starts from the beginning on its own
// node and ends where a whole run of the original ends.
TEST(ActionCopies, EveryKindCopiesToAFreshActionThatRunsOnItsOwn) {
    for (const ActionCase& c : kActions) {
        SCOPED_TRACE(c.what);
        Ref<Tinted> caller = Tinted::node(), first = Tinted::node(), second = Tinted::node();
        first->setOpacity(100);
        second->setOpacity(100);
        Ref<FiniteTimeAction> original = c.make(*caller);
        original->setTarget(first.get());
        original->start();
        original->step(0.3f);
        const Point halfway = first->position();

        Ref<FiniteTimeAction> copy = copyOf(*original);
        EXPECT_EQ(copy->target(), nullptr);
        copy->setTarget(second.get());
        copy->start();
        for (int i = 0; i < 20 && (i == 0 || !copy->isDone()); ++i)
            copy->step(0.25f);  // one step even at no length
        EXPECT_TRUE(copy->isDone());
        EXPECT_EQ(first->position(), halfway) << "the original did not move";
        for (int i = 0; i < 20 && !original->isDone(); ++i) original->step(0.25f);
        EXPECT_EQ(second->position(), first->position());
        EXPECT_FLOAT_EQ(second->rotation(), first->rotation());
        EXPECT_EQ(second->rgbo(), first->rgbo());
        EXPECT_EQ(caller->calls, 2 * c.calls);
    }
}

}  // namespace
}  // namespace quintora
