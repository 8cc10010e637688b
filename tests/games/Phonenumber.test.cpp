#include "games/Phonenumber.hpp"

#include <gtest/gtest.h>

#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kPhonenumber = 6;

class PhonenumberTest : public StageTest {
protected:
    static PhonenumberLayer* phone() { return dynamic_cast<PhonenumberLayer*>(stageLayer()); }

    // The middle of a key, where a player's finger lands.
    static Point keyCentre(int digit) {
        return phone()->keyRect(digit).centre();
    }

    // A digit that is not the one to dial at `position`.
    static int wrongDigit(int position) { return (phone()->digitAt(position) + 1) % 10; }

    static int resultPictures() {
        int count = 0;
        for (const Ref<Node>& child : phone()->children()) count += child->zOrder() == 10 ? 1 : 0;
        return count;
    }

    void dial(int digit) {
        const Point p = keyCentre(digit);
        tap(p.x, p.y);
    }
};

TEST_F(PhonenumberTest, DiallingTheWholeNumberWinsAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        game().Totaltime = 0;
        startStage(kPhonenumber, level);
        ASSERT_NE(phone(), nullptr);
        EXPECT_EQ(phone()->length(), 5 + level);
        // Repeated digits are dialled once per occurrence, like any other.
        for (int k = 0; k < phone()->length(); ++k) {
            dial(phone()->digitAt(k));
            EXPECT_EQ(phone()->dialled(), k + 1);
            EXPECT_FLOAT_EQ(phone()->tickPosition(k).x, 140.0f + 30.0f * static_cast<float>(k));
            EXPECT_FLOAT_EQ(phone()->tickPosition(k).y, 210.0f);
        }
        ASSERT_TRUE(runUntilDecided(10)) << "the next tick judges the finished number";
        EXPECT_TRUE(game().win);
        const float spent = phone()->currentTime();
        EXPECT_LT(spent, 2.0f);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        EXPECT_NEAR(game().Totaltime, spent, 1e-5);
        director().end();
    }
}

TEST_F(PhonenumberTest, AWrongKeyLosesAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        startStage(kPhonenumber, level, 3);
        dial(phone()->digitAt(0));
        ASSERT_FALSE(decided());
        dial(wrongDigit(1));
        EXPECT_TRUE(decided()) << "the lose picture is shown at once";
        EXPECT_FALSE(game().win);
        EXPECT_EQ(phone()->dialled(), 1);
        finishStage();
        EXPECT_EQ(game().Life, 2);
        director().end();
    }
}

TEST_F(PhonenumberTest, AnUnfinishedNumberLosesAtTheTimeOut) {
    for (int level = 1; level <= 3; ++level) {
        startStage(kPhonenumber, level);
        for (int k = 0; k < phone()->length() - 1; ++k) dial(phone()->digitAt(k));
        ASSERT_TRUE(runUntilDecided());
        EXPECT_FALSE(game().win);
        EXPECT_FLOAT_EQ(phone()->currentTime(), 4.9999976f);
        finishStage();
        EXPECT_EQ(game().Life, 4);
        director().end();
    }
}

TEST_F(PhonenumberTest, FinishingTheNumberAfterAWrongKeyStillWins) {
    startStage(kPhonenumber, 2);
    dial(wrongDigit(0));
    ASSERT_TRUE(decided());
    EXPECT_FALSE(game().win);
    for (int k = 0; k < phone()->length(); ++k) dial(phone()->digitAt(k));
    frames(8);
    EXPECT_TRUE(game().win);
    EXPECT_EQ(resultPictures(), 2) << "a lose picture, then a win picture over it";
    finishStage();
    EXPECT_EQ(game().Life, 5);
}

TEST_F(PhonenumberTest, AWrongKeyLateInTheStageIsFollowedByASecondLosePicture) {
    startStage(kPhonenumber, 1);
    // Late enough that the last ticks come before the one-second result delay is over.
    while (phone()->currentTime() < 4.35f) frame();
    const int framesPerTick = [] {
        int count = 0;
        for (const float before = phone()->currentTime(); phone()->currentTime() == before; ++count) frame();
        return count;
    }();
    dial(wrongDigit(0));
    ASSERT_TRUE(decided());
    EXPECT_EQ(resultPictures(), 1);
    const int ticksLeft = static_cast<int>((5.0f - phone()->currentTime()) / 0.1f + 0.5f);
    ASSERT_LT(ticksLeft * framesPerTick, 60) << "the time-out comes before the hand-over";
    while (phone()->currentTime() < 4.95f) frame();
    EXPECT_EQ(resultPictures(), 2);
    EXPECT_FALSE(game().win);
    finishStage();
    EXPECT_EQ(game().Life, 4);
}

TEST_F(PhonenumberTest, KeysAfterTheWholeNumberAreIgnored) {
    for (const int extra : {0, 5}) {
        startStage(kPhonenumber, 3);
        const int n = phone()->length();
        for (int k = 0; k < n - 1; ++k) dial(phone()->digitAt(k));
        // The last digit and one more key within the same tenth of a second.
        const Point last = keyCentre(phone()->digitAt(n - 1));
        touch(TouchPhase::Began, last.x, last.y);
        touch(TouchPhase::Ended, last.x, last.y);
        const Point more = keyCentre(extra);
        touch(TouchPhase::Began, more.x, more.y);
        touch(TouchPhase::Ended, more.x, more.y);
        EXPECT_EQ(phone()->dialled(), n);
        EXPECT_FALSE(decided()) << "no lose picture for a key past the number";
        ASSERT_TRUE(runUntilDecided(10));
        EXPECT_TRUE(game().win) << "extra key " << extra;
        // And none while the win picture shows.
        dial(extra);
        EXPECT_TRUE(game().win);
        EXPECT_EQ(resultPictures(), 1);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(PhonenumberTest, ATapBetweenKeysDoesNothing) {
    startStage(kPhonenumber, 1);
    const Rect zero = phone()->keyRect(0);
    const Rect one = phone()->keyRect(1);
    // The 5-point square fits in the gap between keys 0 and 1, and between the two rows.
    const float gapX = zero.origin.x + zero.size.width + 1;
    ASSERT_LT(gapX + 5, one.origin.x);
    tap(gapX, 130);
    const Rect five = phone()->keyRect(5);
    tap(140, five.origin.y + five.size.height + 1);
    EXPECT_FALSE(decided());
    EXPECT_EQ(phone()->dialled(), 0);
}

}  // namespace
}  // namespace quintora
