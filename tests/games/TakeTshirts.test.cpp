#include "games/TakeTshirts.hpp"

#include <gtest/gtest.h>

#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kTakeTshirts = 4;

class TakeTshirtsTest : public StageTest {
protected:
    static TakeTshirtsLayer* shirts() { return dynamic_cast<TakeTshirtsLayer*>(stageLayer()); }

    static Point buttonCentre(int kind) {
        return shirts()->button(kind).centre();
    }
    static void press(int kind) {
        const Point p = buttonCentre(kind);
        tap(p.x, p.y);
    }
    // The button of the leftmost shirt still hanging.
    static int nextKind() { return shirts()->kindOf(shirts()->taken()); }
    static int resultPictures() {
        int count = 0;
        for (const Ref<Node>& child : shirts()->children()) count += child->zOrder() == 10 ? 1 : 0;
        return count;
    }
};

TEST_F(TakeTshirtsTest, TakingEveryShirtWinsAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        startStage(kTakeTshirts, level);
        ASSERT_NE(shirts(), nullptr);
        const int n = shirts()->shirtCount();
        EXPECT_EQ(n, 2 * level + 3);
        for (int k = 0; k < n; ++k) EXPECT_FLOAT_EQ(shirts()->shirtPosition(k).x, 60.0f + 115.0f * static_cast<float>(k));
        // Neighbours of the same kind take a press each, like any other shirt.
        for (int k = 0; k < n; ++k) {
            press(nextKind());
            ASSERT_EQ(shirts()->taken(), k + 1);
            for (int j = 0; j < n; ++j) {
                EXPECT_FLOAT_EQ(shirts()->shirtPosition(j).x, 60.0f + 115.0f * static_cast<float>(j - k - 1));
                EXPECT_FLOAT_EQ(shirts()->shirtPosition(j).y, 210.0f);
            }
        }
        ASSERT_TRUE(runUntilDecided(10));
        EXPECT_TRUE(game().win);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(TakeTshirtsTest, WrongButtonsChangeNothingAndTheTimeOutLosesAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        startStage(kTakeTshirts, level, 2);
        const int n = shirts()->shirtCount();
        for (int k = 0; k < n - 1; ++k) {
            press((nextKind() + 1) % 5);
            press((nextKind() + 3) % 5);
            ASSERT_EQ(shirts()->taken(), k) << "a wrong button takes nothing";
            EXPECT_FLOAT_EQ(shirts()->shirtPosition(k).x, 60.0f);
            press(nextKind());
        }
        ASSERT_EQ(shirts()->taken(), n - 1);
        ASSERT_TRUE(runUntilDecided());
        EXPECT_FALSE(game().win);
        EXPECT_FLOAT_EQ(shirts()->currentTime(), 4.9999976f);
        finishStage();
        EXPECT_EQ(game().Life, 1);
        director().end();
    }
}

TEST_F(TakeTshirtsTest, TheLastShirtTakenInTheFinalTenthStillWins) {
    startStage(kTakeTshirts, 2);
    const int n = shirts()->shirtCount();
    for (int k = 0; k < n - 1; ++k) press(nextKind());
    while (shirts()->currentTime() < 4.85f) frame();
    ASSERT_FALSE(decided());
    const Point p = buttonCentre(nextKind());
    touch(TouchPhase::Began, p.x, p.y);
    touch(TouchPhase::Ended, p.x, p.y);
    ASSERT_TRUE(runUntilDecided(10));
    EXPECT_FLOAT_EQ(shirts()->currentTime(), 4.9999976f);
    EXPECT_TRUE(game().win);
    EXPECT_EQ(resultPictures(), 2) << "the time-out's lose picture, then the win picture";
    finishStage();
    EXPECT_EQ(game().Life, 5);
}

TEST_F(TakeTshirtsTest, ButtonsAfterTheLastShirtAreIgnored) {
    for (const int extra : {0, 3}) {
        startStage(kTakeTshirts, 1);
        const int n = shirts()->shirtCount();
        for (int k = 0; k < n - 1; ++k) press(nextKind());
        // The last shirt and one more press within the same tenth of a second.
        const Point last = buttonCentre(nextKind());
        touch(TouchPhase::Began, last.x, last.y);
        touch(TouchPhase::Ended, last.x, last.y);
        const Point more = buttonCentre(extra);
        touch(TouchPhase::Began, more.x, more.y);
        touch(TouchPhase::Ended, more.x, more.y);
        EXPECT_EQ(shirts()->taken(), n);
        EXPECT_FLOAT_EQ(shirts()->shirtPosition(n - 1).x, -55.0f);
        ASSERT_TRUE(runUntilDecided(10));
        EXPECT_TRUE(game().win) << "extra button " << extra;
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(TakeTshirtsTest, ATapBetweenButtonsDoesNothing) {
    startStage(kTakeTshirts, 3);
    for (int i = 0; i < 4; ++i) {
        const Rect left = shirts()->button(i);
        const Rect right = shirts()->button(i + 1);
        const float x = left.origin.x + left.size.width + 1;
        ASSERT_LT(x + 10, right.origin.x) << "the 10-point square fits between buttons";
        tap(x, left.origin.y + left.size.height / 2);
    }
    EXPECT_EQ(shirts()->taken(), 0);
    EXPECT_FLOAT_EQ(shirts()->shirtPosition(0).x, 60.0f);
}

}  // namespace
}  // namespace quintora
