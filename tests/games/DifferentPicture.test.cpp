#include "games/DifferentPicture.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/TextureMgr.hpp"
#include "platform/Clock.hpp"
#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kDifferentPicture = 11;

struct Picture {
    int level;
    const char* file;
    Rect leftSpot;
};

constexpr Picture kPictures[] = {
    {1, "differente1.png", {{30, 230}, {40, 40}}},  {1, "differente2.png", {{70, 180}, {25, 80}}},
    {1, "differente3.png", {{40, 180}, {30, 30}}},  {2, "differentm1.png", {{190, 105}, {30, 30}}},
    {2, "differentm2.png", {{205, 180}, {40, 40}}}, {2, "differentm3.png", {{205, 150}, {40, 40}}},
    {3, "differenth1.png", {{100, 240}, {40, 40}}}, {3, "differenth2.png", {{220, 140}, {40, 40}}},
    {3, "differenth3.png", {{10, 70}, {40, 40}}},
};

Rect rightOf(Rect left) { return {{left.origin.x + 240, left.origin.y}, left.size}; }

// A point inside a spot, on screen (a right-hand spot may reach past the screen's edge).
Point inside(Rect spot) {
    return {std::min(spot.origin.x + spot.size.width / 2, 478.0f), spot.origin.y + spot.size.height / 2};
}

class DifferentPictureTest : public StageTest {
protected:
    // Starts the stage at a level until the clock's seed draws the wanted picture; true when it did.
    bool startWith(const Picture& picture) {
        for (int attempt = 0; attempt < 40; ++attempt) {
            startStage(kDifferentPicture, picture.level);
            if (shows(picture.file)) return true;
            director().end();
            platform::advanceVirtualClock(1.0);
        }
        return false;
    }
    // Whether the stage's picture is the given file.
    static bool shows(const char* file) {
        const Texture2D* wanted = TextureMgr::sharedTextureMgr().addImage(file);
        for (const Ref<Node>& child : stageLayer()->children()) {
            const auto* sprite = dynamic_cast<const Sprite*>(child.get());
            if (sprite != nullptr && sprite->texture() == wanted) return true;
        }
        return false;
    }
    // One tap on a fresh stage showing the picture; returns the outcome, the stage being decided at once.
    bool tapOn(const Picture& picture, Point at) {
        EXPECT_TRUE(startWith(picture)) << picture.file << " never drawn";
        auto* layer = layerAs<DifferentPictureLayer>();
        EXPECT_NE(layer, nullptr);
        if (layer == nullptr) return false;
        EXPECT_EQ(layer->spot(0), picture.leftSpot) << picture.file;
        EXPECT_EQ(layer->spot(1), rightOf(picture.leftSpot)) << picture.file;
        EXPECT_FALSE(decided());
        touch(TouchPhase::Began, at.x, at.y);
        EXPECT_TRUE(decided()) << picture.file << ": a tap decides at once";
        const bool won = game().win;
        director().end();
        platform::advanceVirtualClock(1.0);
        return won;
    }
};

TEST_F(DifferentPictureTest, ATapOnTheSpotWinsInEitherDrawingOfEveryPicture) {
    for (const Picture& p : kPictures) {
        EXPECT_TRUE(tapOn(p, inside(p.leftSpot))) << p.file << " left";
        EXPECT_TRUE(tapOn(p, inside(rightOf(p.leftSpot)))) << p.file << " right";
    }
}

TEST_F(DifferentPictureTest, ATapJustAboveOrRightOfTheSpotLosesInEitherDrawingOfEveryPicture) {
    for (const Picture& p : kPictures) {
        for (const Rect spot : {p.leftSpot, rightOf(p.leftSpot)}) {
            const Point centre = inside(spot);
            EXPECT_FALSE(tapOn(p, {centre.x, spot.origin.y + spot.size.height})) << p.file << " above";
            if (spot.origin.x + spot.size.width < 480) {
                EXPECT_FALSE(tapOn(p, {spot.origin.x + spot.size.width, centre.y})) << p.file << " right";
            }
        }
    }
}

TEST_F(DifferentPictureTest, TheThirtyPointTouchSquareReachesASpotFromBelowAndFromTheLeft) {
    const Picture& p = kPictures[2];  // the beach's sail, well inside its drawing
    const Rect spot = p.leftSpot;
    const Point centre = inside(spot);
    EXPECT_TRUE(tapOn(p, {spot.origin.x - 29, centre.y}));
    EXPECT_TRUE(tapOn(p, {centre.x, spot.origin.y - 29}));
    EXPECT_FALSE(tapOn(p, {spot.origin.x - 30, centre.y}));
    EXPECT_FALSE(tapOn(p, {centre.x, spot.origin.y - 30}));
}

TEST_F(DifferentPictureTest, WinAndLossThroughTheWholeStageAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        startStage(kDifferentPicture, level);
        DifferentPictureLayer* layer = layerAs<DifferentPictureLayer>();
        ASSERT_NE(layer, nullptr);
        tap(inside(layer->spot(1)).x, inside(layer->spot(1)).y);
        EXPECT_TRUE(game().win);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();

        startStage(kDifferentPicture, level);
        frames(30);
        tap(420, 275);  // the lives row is no spot
        EXPECT_FALSE(game().win);
        finishStage();
        EXPECT_EQ(game().Life, 4);
        director().end();

        startStage(kDifferentPicture, level, 4);
        layer = layerAs<DifferentPictureLayer>();
        ASSERT_TRUE(runUntilDecided());
        EXPECT_FALSE(game().win) << "no tap loses";
        EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
        finishStage();
        EXPECT_EQ(game().Life, 3);
        director().end();
    }
}

TEST_F(DifferentPictureTest, EveryFurtherTapWhileTheResultShowsIsJudgedAgain) {
    startStage(kDifferentPicture, 1);
    auto* layer = layerAs<DifferentPictureLayer>();
    tap(240, 20);
    EXPECT_FALSE(game().win);
    tap(inside(layer->spot(0)).x, inside(layer->spot(0)).y);
    EXPECT_TRUE(game().win);
    finishStage();
    EXPECT_EQ(game().Life, 5);
}

}  // namespace
}  // namespace quintora
