#include "games/HamburgerGame.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "engine/TextureMgr.hpp"
#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kHamburger = 1;

// Tray centres by kind, 1 to 5 (5 is the top bun).
constexpr Point kTray[] = {{}, {80, 30}, {180, 30}, {270, 30}, {360, 30}, {440, 30}};
constexpr const char* kFilling[] = {nullptr, "hamvar2.png", "hamvar1.png", "hamtomato.png", "hamcheese.png"};

// The kind of a drawn filling, told by its picture; 0 for none.
int kindOf(const Sprite* filling) {
    if (filling == nullptr) return 0;
    for (int kind = 1; kind <= 4; ++kind) {
        if (filling->texture() == TextureMgr::sharedTextureMgr().addImage(kFilling[kind])) return kind;
    }
    return 0;
}

class HamburgerTest : public StageTest {
protected:
    HamburgerGameLayer* start(int level, int lives = 5) {
        startStage(kHamburger, level, lives);
        HamburgerGameLayer* layer = layerAs<HamburgerGameLayer>();
        EXPECT_NE(layer, nullptr);
        return layer;
    }
    // The order as the left burger shows it, bottom up.
    static std::vector<int> order(const HamburgerGameLayer* layer) {
        std::vector<int> kinds;
        for (int k = 1; layer->orderFilling(k) != nullptr; ++k) {
            const Sprite* filling = layer->orderFilling(k);
            EXPECT_EQ(filling->position(), (Point{145, 105.0f + 15.0f * static_cast<float>(k)}));
            kinds.push_back(kindOf(filling));
        }
        return kinds;
    }
    // A finger put down on a tray (the stage judges at the touch's start).
    static void press(int kind) { touch(TouchPhase::Began, kTray[kind].x, kTray[kind].y); }
    static int otherKind(int kind) { return kind % 4 + 1; }
};

TEST_F(HamburgerTest, TheWholeOrderTappedBottomUpWinsAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        HamburgerGameLayer* layer = start(level);
        const std::vector<int> kinds = order(layer);
        ASSERT_EQ(kinds.size(), static_cast<std::size_t>(4 + level)) << "level " << level;
        ASSERT_EQ(layer->orderLength(), 4 + level);
        for (std::size_t j = 0; j < kinds.size(); ++j) {
            ASSERT_NE(kinds[j], 0);
            tap(kTray[kinds[j]].x, kTray[kinds[j]].y);
            const Sprite* stacked = layer->stackedFilling(static_cast<int>(j));
            ASSERT_NE(stacked, nullptr) << "tap " << j << " at level " << level;
            EXPECT_EQ(kindOf(stacked), kinds[j]);
            EXPECT_EQ(stacked->position(), (Point{365, 120.0f + 15.0f * static_cast<float>(j)}));
        }
        ASSERT_TRUE(runUntilDecided());
        EXPECT_TRUE(game().win);
        EXPECT_LT(layer->currentTime(), 4.0f);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(HamburgerTest, AWrongTrayLosesAtOnceAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        HamburgerGameLayer* layer = start(level);
        const std::vector<int> kinds = order(layer);
        ASSERT_FALSE(kinds.empty());
        tap(kTray[kinds[0]].x, kTray[kinds[0]].y);
        ASSERT_FALSE(decided());
        press(otherKind(kinds[1]));
        EXPECT_TRUE(decided()) << "lost at the tap, not at a tick";
        EXPECT_FALSE(game().win);
        EXPECT_EQ(layer->stackedFilling(1), nullptr);
        finishStage();
        EXPECT_EQ(game().Life, 4);
        director().end();
    }
}

TEST_F(HamburgerTest, NoTapLosesAtTheFiftiethTick) {
    HamburgerGameLayer* layer = start(2);
    ASSERT_TRUE(runUntilDecided());
    EXPECT_FALSE(game().win);
    EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
}

TEST_F(HamburgerTest, TheTopBunTrayIsNeverRight) {
    // First thing, and after part of the order has been matched.
    HamburgerGameLayer* layer = start(1);
    press(5);
    EXPECT_TRUE(decided());
    EXPECT_FALSE(game().win);
    director().end();

    layer = start(3);
    const std::vector<int> kinds = order(layer);
    tap(kTray[kinds[0]].x, kTray[kinds[0]].y);
    tap(kTray[kinds[1]].x, kTray[kinds[1]].y);
    ASSERT_FALSE(decided());
    press(5);
    EXPECT_TRUE(decided());
    EXPECT_FALSE(game().win);
}

TEST_F(HamburgerTest, SkippingAFillingLosesAtTheFirstTapThatDoesNotMatch) {
    HamburgerGameLayer* layer = start(3);
    const std::vector<int> kinds = order(layer);
    // A position whose next filling is of another kind, so that skipping it shows.
    std::size_t skip = 0;
    while (skip + 1 < kinds.size() && kinds[skip] == kinds[skip + 1]) ++skip;
    ASSERT_LT(skip + 1, kinds.size()) << "an order of a single kind cannot show a skip";
    for (std::size_t j = 0; j < skip; ++j) tap(kTray[kinds[j]].x, kTray[kinds[j]].y);
    ASSERT_FALSE(decided());
    press(kinds[skip + 1]);
    EXPECT_TRUE(decided());
    EXPECT_FALSE(game().win);
}

TEST_F(HamburgerTest, RepeatedKindsEachNeedTheirOwnTap) {
    // Look through a few stages (each run draws its order from the clock) for one with two equal
    // neighbours; one tap for both must not be enough.
    for (int attempt = 0; attempt < 20; ++attempt) {
        HamburgerGameLayer* layer = start(3);
        const std::vector<int> kinds = order(layer);
        std::size_t pair = 0;
        while (pair + 1 < kinds.size() && kinds[pair] != kinds[pair + 1]) ++pair;
        if (pair + 1 == kinds.size()) {
            director().end();
            for (int i = 0; i < 61; ++i) frame();  // let the clock move on a second for a new order
            continue;
        }
        for (std::size_t j = 0; j < kinds.size() - 1; ++j) tap(kTray[kinds[j]].x, kTray[kinds[j]].y);
        EXPECT_NE(layer->stackedFilling(static_cast<int>(pair + 1)), nullptr);
        for (int i = 0; i < 12; ++i) frame();
        EXPECT_FALSE(decided()) << "one filling is still missing";
        press(kinds.back());
        ASSERT_TRUE(runUntilDecided());
        EXPECT_TRUE(game().win);
        return;
    }
    FAIL() << "no order with two equal neighbours in 20 stages";
}

TEST_F(HamburgerTest, TheLastCorrectTapWinsAtTheNextTickNotAtTheTap) {
    HamburgerGameLayer* layer = start(1);
    const std::vector<int> kinds = order(layer);
    ASSERT_EQ(kinds.size(), 5u);
    for (std::size_t j = 0; j < 4; ++j) tap(kTray[kinds[j]].x, kTray[kinds[j]].y);
    press(kinds[4]);
    EXPECT_FALSE(decided());
    const float tapped = layer->currentTime();
    ASSERT_TRUE(runUntilDecided(10));
    EXPECT_TRUE(game().win);
    EXPECT_NEAR(layer->currentTime() - tapped, 0.1f, 1e-4);
}

TEST_F(HamburgerTest, ACompletionFirstSeenByTheFiftiethTickEndsAsLost) {
    HamburgerGameLayer* layer = start(1);
    const std::vector<int> kinds = order(layer);
    for (std::size_t j = 0; j < 4; ++j) tap(kTray[kinds[j]].x, kTray[kinds[j]].y);
    while (layer->currentTime() < 4.85f) frame();
    ASSERT_FALSE(decided());
    press(kinds[4]);
    ASSERT_TRUE(runUntilDecided(10));
    EXPECT_FALSE(game().win) << "the time-out of the same tick overwrites the win";
    EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
}

TEST_F(HamburgerTest, TapsAfterTheStageIsDecidedAreWrongEvenPastTheOrdersSlots) {
    HamburgerGameLayer* layer = start(3);
    const std::vector<int> kinds = order(layer);
    for (int kind : kinds) tap(kTray[kind].x, kTray[kind].y);
    ASSERT_TRUE(runUntilDecided());
    ASSERT_TRUE(game().win);
    // Seven fillings fill slots 0 to 6; these taps are judged at positions 7 to 16, the last nine of
    // them past the eight slots. Each is wrong, and none stacks anything.
    for (int i = 0; i < 10; ++i) {
        game().win = true;
        press(i % 4 + 1);
        EXPECT_FALSE(game().win) << "tap " << i;
    }
    EXPECT_EQ(layer->stackedFilling(7), nullptr);
    finishStage();
    EXPECT_EQ(game().Life, 4) << "a tray tapped while the win picture shows loses the stage";
}

}  // namespace
}  // namespace quintora
