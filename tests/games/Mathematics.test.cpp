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

void answerRight(StageTest&, int) {
    keyIn(result());
    EXPECT_FALSE(StageTest::decided()) << "only OK answers";
    press(kOk);
}
// The right number one digit too long.
void answerWrong(StageTest&, int) {
    keyIn(result() * 10 + 1);
    press(kOk);
}
const RegisterStage kPlayer(kMathematics, {answerRight, answerWrong, false});

}  // namespace
}  // namespace quintora::testing
