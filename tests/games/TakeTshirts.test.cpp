#include "games/TakeTshirts.hpp"

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kTakeTshirts = 4;

TakeTshirtsLayer* shirts() { return StageTest::layerAs<TakeTshirtsLayer>(); }
void press(int kind) { StageTest::tap(shirts()->button(kind).centre().x, shirts()->button(kind).centre().y); }
// The button of the leftmost shirt still hanging.
int nextKind() { return shirts()->kindOf(shirts()->taken()); }

// Neighbours of the same kind take a press each; the row slides left by a shirt at each.
void takeEveryShirt(StageTest&, int level) {
    ASSERT_EQ(shirts()->shirtCount(), 2 * level + 3);
    for (int k = 0; k < shirts()->shirtCount(); ++k) {
        press(nextKind());
        EXPECT_FLOAT_EQ(shirts()->shirtPosition(k).x, 60.0f - 115.0f);
    }
}
// Wrong buttons take nothing; the last shirt is left hanging.
void pressWrongButtons(StageTest&, int) {
    for (int k = 0; k < shirts()->shirtCount() - 1; ++k) {
        press((nextKind() + 1) % 5);
        press((nextKind() + 3) % 5);
        EXPECT_EQ(shirts()->taken(), k);
        press(nextKind());
    }
}

TEST_F(StageTest, ButtonsAfterTheLastShirtAreIgnored) {
    for (const int extra : {0, 3}) {
        startStage(kTakeTshirts, 1);
        const int n = shirts()->shirtCount();
        for (int k = 0; k < n - 1; ++k) press(nextKind());
        // The last shirt and one more press within the same tenth of a second.
        for (const int kind : {nextKind(), extra}) {
            const Point p = shirts()->button(kind).centre();
            touch(TouchPhase::Began, p.x, p.y);
            touch(TouchPhase::Ended, p.x, p.y);
        }
        EXPECT_EQ(shirts()->taken(), n);
        ASSERT_TRUE(runUntilDecided(10));
        EXPECT_TRUE(game().win) << "extra button " << extra;
        director().end();
    }
}

}  // namespace

const StagePlayer kTakeTshirtsPlayer{takeEveryShirt, pressWrongButtons, false};

}  // namespace quintora::testing
