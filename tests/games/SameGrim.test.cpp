#include "games/SameGrim.hpp"

#include <gtest/gtest.h>

#include <string>

#include "engine/TextureMgr.hpp"
#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kSameGrim = 2;

class SameGrimTest : public StageTest {
protected:
    SameGrimLayer* start(int level) {
        startStage(kSameGrim, level);
        SameGrimLayer* layer = layerAs<SameGrimLayer>();
        EXPECT_NE(layer, nullptr);
        return layer;
    }
    static int largeCount(const SameGrimLayer* layer) {
        int count = 0;
        while (layer->largePicture(count) != nullptr) ++count;
        return count;
    }
    // The image (0 to 7) a large picture shows, told by its picture.
    static int imageOf(const Sprite* large) {
        for (int i = 0; i < 8; ++i) {
            const std::string name = "samegrim" + std::to_string(i + 1) + ".png";
            if (large->texture() == TextureMgr::sharedTextureMgr().addImage(name)) return i;
        }
        return -1;
    }
    static Point home(int small) { return {75.0f + 50.0f * static_cast<float>(small), 90}; }
    // Drags small picture `small` from its home and drops it on large picture `large`'s centre.
    static void dropOn(const SameGrimLayer* layer, int small, int large) {
        drag(home(small), layer->largePicture(large)->position(), 6);
    }
    static bool tinted(const Sprite* large) { return large->r() == 255 && large->g() == 0 && large->b() == 0; }
};

TEST_F(SameGrimTest, EveryLargePictureMatchedWinsAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        SameGrimLayer* layer = start(level);
        const int count = largeCount(layer);
        ASSERT_EQ(count, level + 1);
        for (int i = 0; i < count; ++i) {
            const int image = imageOf(layer->largePicture(i));
            ASSERT_GE(image, 0);
            ASSERT_LT(image, 2 * level + 2) << "drawn among the pictures in play";
            dropOn(layer, image, i);
            EXPECT_EQ(layer->smallPicture(image)->position(), home(image)) << "sent home";
            if (i + 1 < count) {
                EXPECT_FALSE(decided());
            }
        }
        frames(20);
        for (int i = 0; i < count; ++i) EXPECT_TRUE(tinted(layer->largePicture(i))) << i;
        ASSERT_TRUE(decided());
        EXPECT_TRUE(game().win);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(SameGrimTest, WrongDropsOnlyCostTimeAndTheStageIsLostAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        SameGrimLayer* layer = start(level);
        const int image = imageOf(layer->largePicture(0));
        const int wrong = (image + 1) % (2 * level + 2);
        dropOn(layer, wrong, 0);
        EXPECT_EQ(layer->smallPicture(wrong)->position(), home(wrong));
        frames(20);
        EXPECT_FALSE(tinted(layer->largePicture(0)));
        EXPECT_FALSE(decided());
        ASSERT_TRUE(runUntilDecided());
        EXPECT_FALSE(game().win);
        EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
        finishStage();
        EXPECT_EQ(game().Life, 4);
        director().end();
    }
}

TEST_F(SameGrimTest, ThePictureFollowsTheFingerAndGoesHomeOnADropBetweenPictures) {
    SameGrimLayer* layer = start(3);
    touch(TouchPhase::Began, 225, 90);  // small picture 3
    frame();
    touch(TouchPhase::Moved, 300, 160);
    EXPECT_EQ(layer->smallPicture(3)->position(), (Point{300, 160}));
    frame();
    // Between large pictures 0 and 1: the 20-point touch square meets neither.
    const float gapX = layer->largePicture(0)->position().x + 20;
    touch(TouchPhase::Moved, gapX, 200);
    frame();
    touch(TouchPhase::Ended, gapX, 200);
    EXPECT_EQ(layer->smallPicture(3)->position(), home(3));
    frames(30);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(tinted(layer->largePicture(i)));
    EXPECT_FALSE(decided());
}

TEST_F(SameGrimTest, ACrossedOutPictureCanBeDraggedButNeverScores) {
    SameGrimLayer* layer = start(1);
    for (int crossed = 4; crossed < 8; ++crossed) {
        for (int i = 0; i < 2; ++i) {
            touch(TouchPhase::Began, home(crossed).x, home(crossed).y);
            frame();
            touch(TouchPhase::Moved, 240, 240);
            EXPECT_EQ(layer->smallPicture(crossed)->position(), (Point{240, 240})) << "it can be dragged";
            dropOn(layer, crossed, i);
        }
    }
    frames(20);
    EXPECT_FALSE(tinted(layer->largePicture(0)));
    EXPECT_FALSE(tinted(layer->largePicture(1)));
    EXPECT_FALSE(decided());
}

TEST_F(SameGrimTest, TwoCorrectDropsOnTheSameLargePictureWinLevelOne) {
    SameGrimLayer* layer = start(1);
    const int image = imageOf(layer->largePicture(0));
    dropOn(layer, image, 0);
    frames(10);
    EXPECT_FALSE(decided());
    dropOn(layer, image, 0);
    frames(10);
    EXPECT_TRUE(decided());
    EXPECT_TRUE(game().win);
}

TEST_F(SameGrimTest, ATouchThatPicksNoPictureMovesAndScoresNothing) {
    SameGrimLayer* layer = start(3);
    // A drag that begins on the background, ending on each large picture: nothing was picked, so
    // nothing moves and no drop is judged, whatever picture was picked before.
    for (int i = 0; i < 4; ++i) {
        drag({240, 150}, layer->largePicture(i)->position(), 4);
        for (int small = 0; small < 8; ++small) EXPECT_EQ(layer->smallPicture(small)->position(), home(small));
    }
    const int image = imageOf(layer->largePicture(2));
    dropOn(layer, image, 2);
    frames(20);
    EXPECT_TRUE(tinted(layer->largePicture(2)));
    drag({240, 150}, layer->largePicture(2)->position(), 4);
    EXPECT_EQ(layer->smallPicture(image)->position(), home(image));
    frames(20);
    EXPECT_FALSE(decided()) << "only the one real drop counted";
}

TEST_F(SameGrimTest, ALostTouchSendsThePictureHomeWithoutScoring) {
    SameGrimLayer* layer = start(1);
    const int image = imageOf(layer->largePicture(0));
    touch(TouchPhase::Began, home(image).x, home(image).y);
    frame();
    touch(TouchPhase::Moved, layer->largePicture(0)->position().x, 200);
    frame();
    touch(TouchPhase::Cancelled, layer->largePicture(0)->position().x, 200);
    EXPECT_EQ(layer->smallPicture(image)->position(), home(image));
    frames(20);
    EXPECT_FALSE(tinted(layer->largePicture(0)));
}

TEST_F(SameGrimTest, ASecondFingerTakesOverOnlyWhenItMeetsAPicture) {
    SameGrimLayer* layer = start(1);
    const int image = imageOf(layer->largePicture(0));
    const int other = (image + 1) % 8;
    const Point target = layer->largePicture(0)->position();
    touch(TouchPhase::Began, home(image).x, home(image).y);
    frame();
    touch(TouchPhase::Moved, 300, 160);
    frame();
    touch(TouchPhase::Began, 240, 20);  // a second finger on the background: the picture stays held
    EXPECT_EQ(layer->smallPicture(image)->position(), (Point{300, 160}));
    touch(TouchPhase::Began, home(image).x, home(image).y);  // on the held picture's home: still held
    touch(TouchPhase::Moved, target.x, target.y);
    touch(TouchPhase::Ended, target.x, target.y);  // the first finger's drop is judged
    EXPECT_EQ(layer->smallPicture(image)->position(), home(image));
    frames(20);
    EXPECT_TRUE(tinted(layer->largePicture(0)));

    touch(TouchPhase::Began, home(other).x, home(other).y);
    touch(TouchPhase::Moved, 300, 160);
    touch(TouchPhase::Began, home(image).x, home(image).y);  // a second finger meets another picture
    EXPECT_EQ(layer->smallPicture(other)->position(), home(other));
    touch(TouchPhase::Moved, 310, 170);
    EXPECT_EQ(layer->smallPicture(image)->position(), (Point{310, 170}));
    touch(TouchPhase::Ended, 310, 170);
    EXPECT_EQ(layer->smallPicture(image)->position(), home(image));
}

}  // namespace
}  // namespace quintora
