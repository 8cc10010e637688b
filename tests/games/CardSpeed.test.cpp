#include "games/CardSpeed.hpp"

#include <gtest/gtest.h>

#include "engine/Sprite.hpp"
#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kCardSpeed = 7;

class CardSpeedTest : public StageTest {
protected:
    CardSpeedLayer* start(int level) {
        startStage(kCardSpeed, level);
        CardSpeedLayer* layer = layerAs<CardSpeedLayer>();
        EXPECT_NE(layer, nullptr);
        return layer;
    }
    // The row card showing the same picture as the flying one, found by looking at the pictures.
    static int cardLike(const CardSpeedLayer* layer, const Sprite* flying) {
        int found = -1;
        for (const Ref<Node>& child : layer->children()) {
            const auto* sprite = dynamic_cast<const Sprite*>(child.get());
            if (sprite == nullptr || sprite == flying || sprite->texture() != flying->texture()) continue;
            for (int i = 0; i < CardSpeedLayer::kCards; ++i) {
                if (layer->cardRect(i).centre() == sprite->position()) found = i;
            }
        }
        return found;
    }
    void tapCard(const CardSpeedLayer* layer, int i) {
        const Point c = layer->cardRect(i).centre();
        tap(c.x, c.y);
    }
};

TEST_F(CardSpeedTest, TappingTheMatchingCardWinsAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        CardSpeedLayer* layer = start(level);
        frames(20);  // watch the card go by
        const int match = cardLike(layer, layer->flyingCard());
        ASSERT_GE(match, 0);
        EXPECT_EQ(match, layer->matchingCard());
        tapCard(layer, match);
        EXPECT_TRUE(decided());
        EXPECT_TRUE(game().win) << "level " << level;
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(CardSpeedTest, TappingAnotherCardLosesAtEveryLevel) {
    for (int level = 1; level <= 3; ++level) {
        CardSpeedLayer* layer = start(level);
        frames(20);
        const int match = cardLike(layer, layer->flyingCard());
        ASSERT_GE(match, 0);
        tapCard(layer, (match + 1 + level) % CardSpeedLayer::kCards);
        EXPECT_TRUE(decided());
        EXPECT_FALSE(game().win) << "level " << level;
        finishStage();
        EXPECT_EQ(game().Life, 4);
        game().Life = 5;
        director().end();
    }
}

TEST_F(CardSpeedTest, NoAnswerLosesAtTheTimeOut) {
    CardSpeedLayer* layer = start(2);
    ASSERT_TRUE(runUntilDecided());
    EXPECT_FALSE(game().win);
    EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
    finishStage();
    EXPECT_EQ(game().Life, 4);
    EXPECT_NEAR(game().Totaltime, 5.0f, 1e-3);
}

TEST_F(CardSpeedTest, TheCardFliesFasterAtHigherLevelsAndTurnsByAHundredAndTwentyDegrees) {
    const float flight[] = {1.3f, 1.0f, 0.8f};
    for (int level = 1; level <= 3; ++level) {
        CardSpeedLayer* layer = start(level);
        EXPECT_FLOAT_EQ(layer->flightTime(), flight[level - 1]);
        const Sprite* card = layer->flyingCard();
        // Half-way through the flight it is half-way across and half-way round.
        const int half = static_cast<int>(flight[level - 1] * 60 / 2);
        frames(half - 1);
        EXPECT_NEAR(card->position().x, 240.0f, 640.0f / (flight[level - 1] * 60) * 2) << "level " << level;
        EXPECT_NEAR(card->rotation(), 60.0f, 120.0f / (flight[level - 1] * 60) * 2);
        frames(half + 5);
        EXPECT_EQ(card->position(), (Point{-80, 200}));
        EXPECT_FLOAT_EQ(card->rotation(), 120.0f);
        EXPECT_FALSE(decided());
        director().end();
    }
}

TEST_F(CardSpeedTest, AnAnswerAfterTheCardHasGoneStillCounts) {
    CardSpeedLayer* layer = start(3);
    frames(180);
    EXPECT_EQ(layer->flyingCard()->position(), (Point{-80, 200}));
    const int match = cardLike(layer, layer->flyingCard());
    ASSERT_GE(match, 0);
    tapCard(layer, match);
    EXPECT_TRUE(game().win);
    EXPECT_NEAR(layer->currentTime(), 3.0f, 0.11f);
}

TEST_F(CardSpeedTest, TapsBetweenCardsOrAboveTheRowDoNothing) {
    CardSpeedLayer* layer = start(1);
    frames(10);
    tap(105, 70);  // in the gap between the first two cards
    tap(240, 200);  // on the flying card's path
    tap(240, 120);  // just above the row
    EXPECT_FALSE(decided());
    const Rect first = layer->cardRect(0);
    EXPECT_EQ(first, makeRect(28, 26, 64, 88));
}

TEST_F(CardSpeedTest, ATapWhileTheResultShowsDecidesTheStageAgain) {
    // Touches stay live for the second of the result picture: the last card tapped decides.
    CardSpeedLayer* layer = start(1);
    frames(10);
    const int match = cardLike(layer, layer->flyingCard());
    ASSERT_GE(match, 0);
    tapCard(layer, (match + 1) % CardSpeedLayer::kCards);
    ASSERT_TRUE(decided());
    EXPECT_FALSE(game().win);
    tapCard(layer, match);
    EXPECT_TRUE(game().win);
    finishStage();
    EXPECT_EQ(game().Life, 5);
    director().end();

    // The right card and then a wrong one loses.
    layer = start(2);
    frames(10);
    const int second = cardLike(layer, layer->flyingCard());
    tapCard(layer, second);
    tapCard(layer, (second + 2) % CardSpeedLayer::kCards);
    EXPECT_FALSE(game().win);
    finishStage();
    EXPECT_EQ(game().Life, 4);
    director().end();
}

}  // namespace
}  // namespace quintora
