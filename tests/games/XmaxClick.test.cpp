#include "games/XmaxClick.hpp"

#include <gtest/gtest.h>

#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kXmaxClick = 16;

class XmaxClickTest : public StageTest {
protected:
    XmaxClickLayer* start(int level) {
        startStage(kXmaxClick, level);
        XmaxClickLayer* layer = layerAs<XmaxClickLayer>();
        EXPECT_NE(layer, nullptr);
        return layer;
    }
    // Taps the middle of silhouettes [from, to) where the layer says they are.
    void tapSilhouettes(const XmaxClickLayer* layer, int from, int to) {
        for (int i = from; i < to; ++i) {
            const Point c = layer->pictureRect(i).centre();
            tap(c.x, c.y);
        }
    }
};

TEST_F(XmaxClickTest, TappingEverySilhouetteWinsAtEveryLevel) {
    const int expected[] = {8, 10, 12};
    for (int level = 1; level <= 3; ++level) {
        XmaxClickLayer* layer = start(level);
        ASSERT_EQ(layer->blackened(), expected[level - 1]);
        frames(10);
        tapSilhouettes(layer, 0, layer->blackened());
        EXPECT_EQ(layer->found(), layer->blackened());
        ASSERT_TRUE(runUntilDecided());
        EXPECT_TRUE(game().win) << "level " << level;
        EXPECT_LT(layer->currentTime(), 1.5f);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(XmaxClickTest, MissingOneSilhouetteLosesAtTheTimeOutAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        game().Totaltime = 0;
        XmaxClickLayer* layer = start(level);
        frames(10);
        tapSilhouettes(layer, 1, layer->blackened());  // the tree, picture 0, is left black
        EXPECT_EQ(layer->found(), layer->blackened() - 1);
        ASSERT_TRUE(runUntilDecided());
        EXPECT_FALSE(game().win) << "level " << level;
        EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
        finishStage();
        EXPECT_EQ(game().Life, 4);
        EXPECT_NEAR(game().Totaltime, 5.0f, 1e-3);
        director().end();
    }
}

TEST_F(XmaxClickTest, ASilhouetteCountsOnceAndLeavesTheScreenWhenFound) {
    XmaxClickLayer* layer = start(1);
    frames(10);
    const Point tree = layer->pictureRect(0).centre();
    tap(tree.x, tree.y);
    EXPECT_EQ(layer->found(), 1);
    EXPECT_EQ(layer->pictureRect(0), makeRect(-100, -100, 1, 1));
    tap(tree.x, tree.y);
    tap(tree.x + 3, tree.y - 3);
    EXPECT_EQ(layer->found(), 1);
}

TEST_F(XmaxClickTest, PicturesLeftInColourAreNeverCounted) {
    XmaxClickLayer* layer = start(1);
    frames(10);
    tapSilhouettes(layer, 8, XmaxClickLayer::kPictures);
    EXPECT_EQ(layer->found(), 0);
    director().end();

    layer = start(3);
    frames(10);
    const Point wreath = layer->pictureRect(12).centre();
    EXPECT_EQ(wreath, (Point{440, 60}));
    tap(wreath.x, wreath.y);
    EXPECT_EQ(layer->found(), 0);
    tapSilhouettes(layer, 0, 12);
    EXPECT_EQ(layer->found(), 12);
}

TEST_F(XmaxClickTest, ATapBeforeTheTintEndsAlreadyCounts) {
    XmaxClickLayer* layer = start(2);
    const Point star = layer->pictureRect(1).centre();
    EXPECT_LT(layer->currentTime(), 0.1f);
    tap(star.x, star.y);
    EXPECT_EQ(layer->found(), 1);
}

TEST_F(XmaxClickTest, ATapOnTheBackgroundOrBetweenPicturesFindsNothing) {
    XmaxClickLayer* layer = start(3);
    frames(10);
    tap(240, 200);  // open sky
    tap(90, 140);   // between the snowman and the present
    EXPECT_EQ(layer->found(), 0);
}

TEST_F(XmaxClickTest, SilhouettesAreBlackAndAFoundOneShowsItsColoursAgain) {
    XmaxClickLayer* layer = start(1);
    frames(10);
    const Point bell = layer->pictureRect(7).centre();     // the last one blackened at level 1
    const Point bauble = layer->pictureRect(8).centre();   // the first one left in colour
    auto shot = screen();
    const auto black = testing::pixelAt(shot, static_cast<int>(bell.x), static_cast<int>(bell.y));
    EXPECT_EQ(black, (std::array<int, 3>{0, 0, 0}));
    const auto coloured = testing::pixelAt(shot, static_cast<int>(bauble.x), static_cast<int>(bauble.y));
    EXPECT_GT(coloured[0] + coloured[1] + coloured[2], 60);

    tap(bell.x, bell.y);
    frame();
    shot = screen();
    const auto found = testing::pixelAt(shot, static_cast<int>(bell.x), static_cast<int>(bell.y));
    EXPECT_GT(found[0] + found[1] + found[2], 60);
}

TEST_F(XmaxClickTest, TheLastSilhouetteFoundOnTheTimeOutTickStillLoses) {
    XmaxClickLayer* layer = start(1);
    frames(10);
    tapSilhouettes(layer, 1, layer->blackened());
    while (layer->currentTime() < 4.85f) frame();
    ASSERT_FALSE(decided());
    // The fiftieth tick sees the count complete and the time out together; the time-out comes last.
    const Point tree = layer->pictureRect(0).centre();
    touch(TouchPhase::Began, tree.x, tree.y);
    ASSERT_TRUE(runUntilDecided());
    EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
    EXPECT_FALSE(game().win);
}

}  // namespace
}  // namespace quintora
