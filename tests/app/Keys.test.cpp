// The menus' focus ring: the arrow keys reach every button from where it starts, Return presses it.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/screens/MenuScene.hpp"
#include "app/screens/PracticeScene.hpp"
#include "support/GLTest.hpp"

namespace quintora {
namespace {

using platform::Key;

// The buttons the arrow keys lead to, trying every arrow from every button reached.
template <class ScreenLayer>
std::set<int> reachable(ScreenLayer& layer) {
    std::set<int> seen{layer.focusRing().focused()};
    std::vector<int> todo(seen.begin(), seen.end());
    while (!todo.empty()) {
        const int from = todo.back();
        todo.pop_back();
        for (const Key arrow : {Key::Up, Key::Down, Key::Left, Key::Right}) {
            layer.focusRing().focus(from);
            EXPECT_TRUE(layer.keyPressed(arrow));
            if (seen.insert(layer.focusRing().focused()).second) todo.push_back(layer.focusRing().focused());
        }
    }
    return seen;
}

class MenuKeys : public testing::GLTest {};

TEST_F(MenuKeys, TheArrowsReachEveryButtonOfTheMenuAndThePracticeGridAndReturnPressesIt) {
    director().runWithScene(MenuScene::node().get());
    frame();
    MenuLayer* menu = runningSceneChild<MenuLayer>();
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->keyPressed(Key::Return)) << "nothing to press under the logo";
    for (int i = 0; i < 400 && menu->focusRing().isEmpty(); ++i) frame();
    ASSERT_FALSE(menu->focusRing().isEmpty());
    EXPECT_EQ(menu->focusRing().focused(), MenuLayer::Amateur);
    EXPECT_EQ(reachable(*menu).size(), 7u);
    menu->focusRing().focus(MenuLayer::Practice);
    EXPECT_TRUE(menu->keyPressed(Key::Return));
    frame();
    PracticeLayer* grid = runningSceneChild<PracticeLayer>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->focusRing().focused(), PracticeLayer::kFirstStageButton);
    EXPECT_EQ(reachable(*grid).size(), 3u + 16u + 1u);
    grid->focusRing().focus(1);  // Pro
    EXPECT_TRUE(grid->keyPressed(Key::Return));
    EXPECT_EQ(grid->level(), 2);
}

}  // namespace
}  // namespace quintora
