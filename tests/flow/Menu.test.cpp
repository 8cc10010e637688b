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

// Each tap is made once while the logo shows, which starts nothing, and once the buttons are up.
TEST_F(MenuTest, EachButtonStartsItsLevelOrTheRecordsAndTheTouchSquareReachesItFromBelowLeft) {
    const Rect amateur = button("abt.png", {150, 150});
    const struct {
        const char* what;
        Point at;
        int level;  // 0: no run
        bool records;
    } taps[] = {{"short of the amateur button", {amateur.minX() - 6, amateur.minY() - 6}, 0, false},
                {"the corner of the square on it", {amateur.minX() - 4, amateur.minY() - 4}, 1, false},
                {"professional", {200, 90}, 2, false},
                {"legend", {300, 50}, 3, false},
                {"records", {40, 30}, 0, true}};
    for (const auto& t : taps) {
        SCOPED_TRACE(t.what);
        game().reset();
        game().Totaltime = 12;
        showMenu();
        Scene* menu = director().runningScene();
        frames(100);
        tap(t.at.x, t.at.y);
        frame();
        EXPECT_EQ(director().runningScene(), menu) << "still the logo";
        frames(90);  // the buttons are up after three seconds
        EXPECT_FLOAT_EQ(game().Totaltime, 0) << "the menu starts every run from zero";
        tap(t.at.x, t.at.y);
        frame();
        EXPECT_EQ(director().runningScene() != menu, t.level > 0 || t.records);
        EXPECT_EQ(stageLayer() != nullptr, t.level > 0) << "a stage runs";
        EXPECT_EQ(game().SelectLevel, t.level);
        EXPECT_EQ(game().Life, t.level > 0 ? 5 : 0);
        EXPECT_EQ(game().B_Record, t.level > 0);
        bool records = false;
        for (const Ref<Node>& child : director().runningScene()->children()) {
            records = records || dynamic_cast<RecordLayer*>(child.get()) != nullptr;
        }
        EXPECT_EQ(records, t.records);
        director().end();
    }
}

}  // namespace
}  // namespace quintora
