#include "games/Mathematics.hpp"

#include <cstdio>
#include <string>

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kMathematics = 12;
constexpr Point kOk{320, 100};
constexpr Point kDel{320, 50};

MathematicsLayer* board() { return StageTest::layerAs<MathematicsLayer>(); }

// The result of the question on the board, read as a player reads it ("12 + " over "34 = ").
int result() {
    int a = 0, b = 0;
    char sign[8] = {};
    EXPECT_EQ(std::sscanf(board()->questionLabel(0)->string().c_str(), "%d %7s ", &a, sign), 2);
    EXPECT_EQ(std::sscanf(board()->questionLabel(1)->string().c_str(), "%d = ", &b), 1);
    return std::string(sign) == "\u2169" ? a * b : a + b;
}
void press(Point p) { StageTest::tap(p.x, p.y); }
Point key(int digit) {
    const int i = digit == 0 ? 9 : digit - 1;
    return {50.0f + 50.0f * static_cast<float>(i % 5), i < 5 ? 100.0f : 50.0f};
}
void keyIn(int number) {
    for (char c : std::to_string(number)) press(key(c - '0'));
}
std::string shown() { return board()->answerLabel()->string(); }

void answerRight(StageTest&, int level) {
    const int answer = result();
    const int range[][2] = {{10, 88}, {100, 498}, {20, 234}};
    EXPECT_GE(answer, range[level - 1][0]);
    EXPECT_LE(answer, range[level - 1][1]);
    keyIn(answer);
    EXPECT_FALSE(StageTest::decided()) << "only OK answers";
    press(kOk);
}
// OK again while the result shows judges the number shown then.
void answerWrong(StageTest&, int) {
    keyIn(result());
    press(kOk);
    EXPECT_TRUE(game().win);
    press(kDel);
    press(kOk);
}
const RegisterStage kPlayer(kMathematics, {answerRight, answerWrong, false});

TEST_F(StageTest, KeyingBuildsTheNumberAndDeleteOrAFourthDigitStartsAgain) {
    const struct {
        const char* keys;  // digits, 'd' for delete
        const char* shown;
    } cases[] = {{"", "0"}, {"0", "0"}, {"042", "42"}, {"987", "987"}, {"9876", "0"}, {"98765", "5"},
                 {"12d", "0"}, {"12d34", "34"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        startStage(kMathematics, 2);
        for (const char* k = c.keys; *k != 0; ++k) press(*k == 'd' ? kDel : key(*k - '0'));
        EXPECT_EQ(shown(), c.shown);
        director().end();
    }
}

}  // namespace
}  // namespace quintora::testing
