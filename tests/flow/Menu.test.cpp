// The menu as a player meets it: the logo, the buttons, the touch square, and a run started from it.
#include "app/MenuScene.hpp"

#include <gtest/gtest.h>

#include "app/RecordScene.hpp"
#include "engine/Sprite.hpp"
#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

class MenuTest : public StageTest {
public:
    void showMenu() {
        director().runWithScene(MenuScene::node().get());
        frame();
    }
    // The hit rectangle a button image gets at its place on the menu.
    static Rect button(const char* file, Point position) {
        Ref<Sprite> sprite = Sprite::spriteWithFile(file);
        sprite->setPosition(position);
        return getFrame(sprite.get());
    }
};

TEST_F(MenuTest, ATouchDuringTheLogoStartsNothingAndEachLevelButtonStartsItsLevel) {
    const struct {
        const char* file;
        Point position;
        int level;
    } buttons[] = {{"abt.png", {150, 150}, 1}, {"pbt.png", {200, 90}, 2}, {"lbt.png", {300, 50}, 3}};
    for (const auto& b : buttons) {
        game().Totaltime = 12;
        showMenu();
        Scene* menu = director().runningScene();
        frames(100);
        tap(b.position.x, b.position.y);  // still the logo
        frame();
        EXPECT_EQ(director().runningScene(), menu);
        EXPECT_EQ(game().SelectLevel, 0);
        frames(90);  // the buttons are up after three seconds
        EXPECT_FLOAT_EQ(game().Totaltime, 0) << "the menu starts every run from zero";
        EXPECT_FALSE(game().B_Record);
        tap(b.position.x, b.position.y);
        frame();
        EXPECT_NE(director().runningScene(), menu);
        EXPECT_NE(stageLayer(), nullptr) << "a stage runs";
        EXPECT_EQ(game().SelectLevel, b.level);
        EXPECT_EQ(game().Life, 5);
        EXPECT_TRUE(game().B_Record);
        director().end();
        game().SelectLevel = 0;
    }
}

TEST_F(MenuTest, TheTouchSquareReachesAButtonFromJustLeftOfAndBelowIt) {
    const Rect amateur = button("abt.png", {150, 150});
    showMenu();
    frames(190);
    Scene* menu = director().runningScene();
    tap(amateur.minX() - 6, amateur.minY() - 6);  // the 5 x 5 square falls short
    frame();
    EXPECT_EQ(director().runningScene(), menu);
    tap(amateur.minX() - 4, amateur.minY() - 4);  // it overlaps the corner
    frame();
    EXPECT_NE(director().runningScene(), menu);
    EXPECT_EQ(game().SelectLevel, 1);
}

TEST_F(MenuTest, TheRecordsButtonOpensTheRecordsWithoutARun) {
    showMenu();
    frames(190);
    tap(40, 30);
    frame();
    ASSERT_NE(director().runningScene(), nullptr);
    bool records = false;
    for (const Ref<Node>& child : director().runningScene()->children()) {
        records = records || dynamic_cast<RecordLayer*>(child.get()) != nullptr;
    }
    EXPECT_TRUE(records);
    EXPECT_FALSE(game().B_Record);
    EXPECT_EQ(game().Life, 0);
}

}  // namespace
}  // namespace quintora
