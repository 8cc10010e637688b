#include "games/Mathematics.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kMathematics = 12;
constexpr Point kOk{320, 100};
constexpr Point kDel{320, 50};

class MathematicsTest : public StageTest {
protected:
    MathematicsLayer* start(int level) {
        startStage(kMathematics, level);
        MathematicsLayer* layer = layerAs<MathematicsLayer>();
        EXPECT_NE(layer, nullptr);
        return layer;
    }
    // The result of the question written on the board.
    static int result(const MathematicsLayer* layer) {
        const std::string& first = layer->questionLabel(0)->string();
        const std::string& second = layer->questionLabel(1)->string();
        int a = 0;
        int b = 0;
        char sign[8] = {};
        EXPECT_EQ(std::sscanf(first.c_str(), "%d %7s ", &a, sign), 2) << first;
        EXPECT_EQ(std::sscanf(second.c_str(), "%d = ", &b), 1) << second;
        EXPECT_EQ(second, std::to_string(b) + " = ");
        if (std::string(sign) == "\u2169") return a * b;
        EXPECT_EQ(std::string(sign), "+");
        return a + b;
    }
    static Point key(int digit) {
        const int i = digit == 0 ? 9 : digit - 1;
        return {50.0f + 50.0f * static_cast<float>(i % 5), i < 5 ? 100.0f : 50.0f};
    }
    static void press(Point p) { tap(p.x, p.y); }
    static void keyIn(int number) {
        const std::string digits = std::to_string(number);
        for (char c : digits) press(key(c - '0'));
    }
    static std::string shown(const MathematicsLayer* layer) { return layer->answerLabel()->string(); }
};

TEST_F(MathematicsTest, TheRightResultWinsAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        MathematicsLayer* layer = start(level);
        const int answer = result(layer);
        EXPECT_EQ(shown(layer), "0");
        keyIn(answer);
        EXPECT_EQ(shown(layer), std::to_string(answer));
        EXPECT_FALSE(decided());
        press(kOk);
        EXPECT_TRUE(decided());
        EXPECT_TRUE(game().win) << "level " << level << ": " << answer;
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(MathematicsTest, AWrongResultLosesAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        MathematicsLayer* layer = start(level);
        const int answer = result(layer);
        keyIn(answer + 1);
        press(kOk);
        EXPECT_TRUE(decided());
        EXPECT_FALSE(game().win);
        finishStage();
        EXPECT_EQ(game().Life, 4);
        director().end();
    }
}

TEST_F(MathematicsTest, TheQuestionFitsTheLevel) {
    const struct {
        int level;
        const char* sign;
        int low;
        int high;
    } cases[] = {{1, "+", 10, 88}, {2, "+", 100, 498}, {3, "\u2169", 20, 234}};
    for (const auto& c : cases) {
        MathematicsLayer* layer = start(c.level);
        EXPECT_NE(layer->questionLabel(0)->string().find(c.sign), std::string::npos);
        const int answer = result(layer);
        EXPECT_GE(answer, c.low);
        EXPECT_LE(answer, c.high);
        director().end();
    }
}

TEST_F(MathematicsTest, OkWithNothingKeyedOrNoOkAtAllLoses) {
    MathematicsLayer* layer = start(1);
    press(kOk);
    EXPECT_TRUE(decided());
    EXPECT_FALSE(game().win);
    director().end();

    layer = start(2);
    keyIn(result(layer));
    ASSERT_TRUE(runUntilDecided());
    EXPECT_FALSE(game().win) << "only OK wins";
    EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
}

TEST_F(MathematicsTest, AThirdDigitOnLevelOneMakesTheNumberTenTimesTooLarge) {
    MathematicsLayer* layer = start(1);
    const int answer = result(layer);
    keyIn(answer);
    press(key(0));
    EXPECT_EQ(shown(layer), std::to_string(answer * 10));
    press(kOk);
    EXPECT_FALSE(game().win);
}

TEST_F(MathematicsTest, ALeadingZeroStaysZeroAndTheNextDigitsBuildOnIt) {
    MathematicsLayer* layer = start(1);
    press(key(0));
    EXPECT_EQ(shown(layer), "0");
    press(key(4));
    EXPECT_EQ(shown(layer), "4");
    press(key(2));
    EXPECT_EQ(shown(layer), "42");
}

TEST_F(MathematicsTest, AFourthDigitClearsAndTheNextStartsANewNumber) {
    MathematicsLayer* layer = start(2);
    const int answer = result(layer);
    keyIn(987);
    press(key(6));
    EXPECT_EQ(shown(layer), "0");
    keyIn(answer);
    EXPECT_EQ(shown(layer), std::to_string(answer));
    press(kOk);
    EXPECT_TRUE(game().win);
}

TEST_F(MathematicsTest, DeleteClearsTheNumberAndTheDigitCount) {
    MathematicsLayer* layer = start(3);
    const int answer = result(layer);
    keyIn(12);
    press(kDel);
    EXPECT_EQ(shown(layer), "0");
    keyIn(answer);  // a full new number, not digits added to 12
    EXPECT_EQ(shown(layer), std::to_string(answer));
    press(kOk);
    EXPECT_TRUE(game().win);
}

TEST_F(MathematicsTest, OkPressedAgainWhileTheResultShowsJudgesTheNumberShownThen) {
    MathematicsLayer* layer = start(1);
    const int answer = result(layer);
    keyIn(answer);
    press(kOk);
    ASSERT_TRUE(game().win);
    press(kDel);
    press(kOk);
    EXPECT_FALSE(game().win);
    finishStage();
    EXPECT_EQ(game().Life, 4);
}

}  // namespace
}  // namespace quintora
