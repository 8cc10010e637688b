#include "games/XmaxClick.hpp"

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kXmaxClick = 16;

XmaxClickLayer* xmas() { return StageTest::layerAs<XmaxClickLayer>(); }
// Taps the middle of pictures [from, to) where the layer says they are.
void tapPictures(int from, int to) {
    for (int i = from; i < to; ++i)
        StageTest::tap(xmas()->pictureRect(i).centre().x, xmas()->pictureRect(i).centre().y);
}

void findThemAll(StageTest& t, int level) {
    ASSERT_EQ(xmas()->blackened(), 6 + 2 * level);
    t.frames(10);
    tapPictures(xmas()->blackened(), XmaxClickLayer::kPictures);  // those in colour never count
    EXPECT_EQ(xmas()->found(), 0);
    const Point first = xmas()->pictureRect(0).centre();
    tapPictures(0, xmas()->blackened());
    StageTest::tap(first.x, first.y);  // a found one counts once
    EXPECT_EQ(xmas()->found(), xmas()->blackened());
}
// The tree, picture 0, is left black.
void missOne(StageTest& t, int) {
    t.frames(10);
    tapPictures(1, xmas()->blackened());
    EXPECT_EQ(xmas()->found(), xmas()->blackened() - 1);
}

}  // namespace

const StagePlayer kXmaxClickPlayer{findThemAll, missOne, false};

}  // namespace quintora::testing
