#include "games/PlantTree.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

constexpr int kPlantTree = 10;

class PlantTreeTest : public StageTest {
protected:
    PlantTreeLayer* plant() { return layerAs<PlantTreeLayer>(); }

    Point button() {
        return plant()->buttonRect().centre();
    }
    // Taps the button `count` times, one tap every `frames` frames (a tap lasts two of them).
    void tapButton(int count, int frames = 2) {
        for (int i = 0; i < count; ++i) {
            tap(button().x, button().y);
            for (int f = 2; f < frames; ++f) frame();
        }
    }
    // The planted trees: the layer's 30 x 40 sprites.
    std::vector<Point> trees() {
        std::vector<Point> found;
        for (const Ref<Node>& child : plant()->children()) {
            const auto* sprite = dynamic_cast<const Sprite*>(child.get());
            if (sprite != nullptr && sprite->contentSize().width == 30 && sprite->contentSize().height == 40) {
                found.push_back(sprite->position());
            }
        }
        return found;
    }
    static int resultPictures(MiniGameLayer* layer) {
        int count = 0;
        for (const Ref<Node>& child : layer->children()) count += child->zOrder() == 10 ? 1 : 0;
        return count;
    }
};

TEST_F(PlantTreeTest, TappingTheButtonOftenEnoughWinsAtEveryLevel) {
    const int target[] = {15, 20, 25};
    for (int level = 1; level <= 3; ++level) {
        SCOPED_TRACE(level);
        MiniGameLayer* layer = startStage(kPlantTree, level);
        ASSERT_NE(plant(), nullptr);
        EXPECT_EQ(plant()->counterText(), std::to_string(target[level - 1]));
        // Six taps a second, a pace a finger keeps up.
        tapButton(target[level - 1] - 1, 10);
        EXPECT_FALSE(decided());
        EXPECT_EQ(plant()->counterText(), "1");
        // The last tree wins at once, without waiting for a tick.
        touch(TouchPhase::Began, button().x, button().y);
        EXPECT_TRUE(decided());
        EXPECT_TRUE(game().win);
        EXPECT_EQ(plant()->counterText(), "0");
        EXPECT_EQ(trees().size(), static_cast<std::size_t>(target[level - 1]));
        EXPECT_LT(layer->currentTime(), 4.9f);
        touch(TouchPhase::Ended, button().x, button().y);
        finishStage();
        EXPECT_EQ(game().Life, 5);
        director().end();
    }
}

TEST_F(PlantTreeTest, TappingTooSlowlyLosesAtEveryLevel) {
    const int target[] = {15, 20, 25};
    for (int level = 1; level <= 3; ++level) {
        SCOPED_TRACE(level);
        MiniGameLayer* layer = startStage(kPlantTree, level);
        // Two taps a second: 15 trees would need three a second.
        for (int i = 0; i < 100 && !decided(); ++i) {
            tap(button().x, button().y);
            for (int f = 0; f < 28 && !decided(); ++f) frame();
        }
        ASSERT_TRUE(decided());
        EXPECT_FALSE(game().win);
        EXPECT_FLOAT_EQ(layer->currentTime(), 4.9999976f);
        EXPECT_GT(std::stoi(plant()->counterText()), 0);
        EXPECT_LT(std::stoi(plant()->counterText()), target[level - 1]);
        finishStage();
        EXPECT_EQ(game().Life, 4);
        director().end();
    }
}

TEST_F(PlantTreeTest, OnlyATouchSquareMeetingTheButtonPlants) {
    startStage(kPlantTree, 1);
    const Rect b = plant()->buttonRect();
    // The finger's 30-point square reaches up and to the right of it.
    tap(b.origin.x - 31, b.origin.y + 10);
    tap(b.origin.x + 10, b.origin.y - 31);
    tap(b.origin.x + b.size.width, b.origin.y + 10);
    EXPECT_EQ(plant()->counterText(), "15");
    EXPECT_TRUE(trees().empty());
    tap(b.origin.x - 29, b.origin.y - 29);
    EXPECT_EQ(plant()->counterText(), "14");
    EXPECT_EQ(trees().size(), 1u);
}

TEST_F(PlantTreeTest, TreesLandInTheLowerPartOfTheField) {
    startStage(kPlantTree, 3);
    tapButton(24);
    const std::vector<Point> planted = trees();
    ASSERT_EQ(planted.size(), 24u);
    bool spread = false;
    for (const Point& p : planted) {
        EXPECT_GE(p.x, 50);
        EXPECT_LE(p.x, 449);
        EXPECT_GE(p.y, 20);
        EXPECT_LE(p.y, 119);
        spread = spread || p.x != planted.front().x;
    }
    EXPECT_TRUE(spread);
}

TEST_F(PlantTreeTest, TapsAfterAWinGoOnPlantingWithoutOverrunningTheSlots) {
    MiniGameLayer* layer = startStage(kPlantTree, 3);
    tapButton(25);
    ASSERT_TRUE(decided());
    ASSERT_TRUE(game().win);
    tapButton(15);
    EXPECT_EQ(plant()->counterText(), "-15");
    EXPECT_EQ(trees().size(), 40u);
    EXPECT_EQ(plant()->treesKept(), PlantTreeLayer::kTreeSlots);
    EXPECT_EQ(resultPictures(layer), 1);
    finishStage();
    EXPECT_EQ(game().Life, 5);
}

TEST_F(PlantTreeTest, ATapThatPlantsTheLastTreeAfterTheTimeOutTurnsTheLossIntoAWin) {
    MiniGameLayer* layer = startStage(kPlantTree, 1);
    tapButton(14, 10);
    ASSERT_TRUE(runUntilDecided());
    EXPECT_FALSE(game().win);
    tapButton(1);
    EXPECT_TRUE(game().win);
    EXPECT_EQ(resultPictures(layer), 2);
    tapButton(1);
    EXPECT_TRUE(game().win) << "below zero nothing more happens";
    finishStage();
    EXPECT_EQ(game().Life, 5);
}

}  // namespace
}  // namespace quintora
