#include "games/Donttouch.hpp"

#include <gtest/gtest.h>

#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kDonttouch = 13;

TEST_F(StageTest, DonttouchIsWonByWaitingAtTheFiftiethTickAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        MiniGameLayer* layer = startStage(kDonttouch, level);
        ASSERT_NE(layerAs<DonttouchLayer>(), nullptr);
        ASSERT_TRUE(runUntilDecided());
        EXPECT_TRUE(game().win);
        EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f) << "fifty ticks of 0.1 s";
        finishStage();
        EXPECT_EQ(game().Life, 5) << "a won stage costs no life";
        EXPECT_NEAR(game().Totaltime, 5.0f * static_cast<float>(level), 1e-4);
        director().end();
    }
}

TEST_F(StageTest, DonttouchIsLostByATouchEvenInTheLastTenthOfASecond) {
    for (int level = 1; level <= 3; ++level) {
        game().Totaltime = 0;
        MiniGameLayer* layer = startStage(kDonttouch, level);
        while (layer->currentTime() < 4.85f) frame();
        ASSERT_FALSE(decided());
        tap(470, 10);  // the corner of the screen loses like anywhere else
        EXPECT_TRUE(decided());
        EXPECT_FALSE(game().win);
        finishStage();
        EXPECT_EQ(game().Life, 4);
        EXPECT_NEAR(game().Totaltime, 4.9f, 1e-3);
        director().end();
    }
}

TEST_F(StageTest, ATouchWhileTheWinPictureShowsTurnsTheStageIntoALoss) {
    startStage(kDonttouch, 1);
    ASSERT_TRUE(runUntilDecided());
    EXPECT_TRUE(game().win);
    tap(240, 160);
    EXPECT_FALSE(game().win);
    finishStage();
    EXPECT_EQ(game().Life, 4);
}

}  // namespace
}  // namespace quintora
