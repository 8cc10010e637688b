// The keyboard does what the pointer does: the menus' focus ring reaches every button, Escape on the menu
// asks before quitting, and the keypads' digit keys are judged and logged as taps on their keys are.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/HelpScene.hpp"
#include "app/MenuScene.hpp"
#include "app/PracticeScene.hpp"
#include "support/Files.hpp"
#include "support/GLTest.hpp"
#include "support/GameBinary.hpp"

namespace quintora {
namespace {

namespace fs = std::filesystem;
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

template <class ScreenLayer>
ScreenLayer* screenLayer() {
    Scene* scene = testing::GLTest::director().runningScene();
    if (scene == nullptr) return nullptr;
    for (const Ref<Node>& child : scene->children()) {
        if (auto* layer = dynamic_cast<ScreenLayer*>(child.get())) return layer;
    }
    return nullptr;
}

class MenuKeys : public testing::GLTest {};

TEST_F(MenuKeys, TheArrowsReachEveryMenuButtonFromAmateurAndReturnPressesIt) {
    director().runWithScene(MenuScene::node().get());
    frame();
    MenuLayer* menu = screenLayer<MenuLayer>();
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->keyPressed(Key::Return)) << "nothing to press under the logo";
    for (int i = 0; i < 400 && menu->focusRing().isEmpty(); ++i) frame();
    ASSERT_FALSE(menu->focusRing().isEmpty());
    EXPECT_EQ(menu->focusRing().focused(), MenuLayer::Amateur);
    EXPECT_EQ(reachable(*menu).size(), 7u);

    menu->focusRing().focus(MenuLayer::Help);
    EXPECT_TRUE(menu->keyPressed(Key::Return));
    frame();
    EXPECT_NE(screenLayer<HelpLayer>(), nullptr);
}

TEST_F(MenuKeys, TheArrowsReachEveryButtonOfThePracticeGrid) {
    director().runWithScene(PracticeScene::node().get());
    frame();
    PracticeLayer* grid = screenLayer<PracticeLayer>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->focusRing().focused(), PracticeLayer::kFirstStageButton);
    EXPECT_EQ(reachable(*grid).size(), 3u + 16u + 1u);
    grid->focusRing().focus(1);  // Pro
    EXPECT_TRUE(grid->keyPressed(Key::Return));
    EXPECT_EQ(grid->level(), 2);
}

class GameKeys : public ::testing::Test {
  protected:
    void TearDown() override { fs::remove_all(folder_); }
    // The game's log of a headless run of the script, from a fresh data folder.
    std::string play(const std::string& script, long frames) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::ofstream(folder_ / "script.txt") << script;
        const testing::GameRun run =
            testing::runGame("--headless --virtual-clock --frames " + std::to_string(frames) +
                             " --data-dir " + (folder_ / "data").string() + " --script " +
                             (folder_ / "script.txt").string() + " --log " + (folder_ / "game.log").string());
        EXPECT_EQ(run.status, 0) << run.output;
        return testing::readFile(folder_ / "game.log");
    }
    const fs::path folder_ = fs::temp_directory_path() / ("quintora-keys-" + std::to_string(::getpid()));
};

TEST_F(GameKeys, EscapeOnTheMenuAsksBeforeQuitting) {
    // Escape twice quits (the second answers "Quit"); Return answers "Stay", and the menu goes on.
    const std::string quit = play("200 key escape\n201 key escape\n300 key f1\n", 320);
    EXPECT_NE(quit.find("201 quit\n"), std::string::npos) << quit;
    EXPECT_EQ(quit.find("help shown"), std::string::npos) << "the game ended at the answer";
    const std::string stay = play("200 key escape\n201 key return\n300 key f1\n", 320);
    EXPECT_EQ(stay.find(" quit\n"), std::string::npos) << stay;
    EXPECT_NE(stay.find("300 help shown\n"), std::string::npos) << stay;
}

TEST_F(GameKeys, DigitKeysOnTheKeypadsAreJudgedAndLoggedAsTapsOnTheirKeys) {
    // Practice opens the stage at frame 30 (Phone number, then Arithmetic); then the same keys are tapped
    // in one run and typed in the other, on the same frames.
    const struct {
        const char* name;
        const char* grid;
        std::vector<std::pair<std::string, std::string>> presses;  // a tap, and the key that matches it
    } keypads[] = {
        {"phone number", "182.5 172", {{"215 130", "1"}, {"440 50", "9"}, {"140 130", "0"}, {"290 50", "7"}}},
        {"arithmetic",
         "412.5 127",
         {{"50 100", "1"},
          {"150 50", "8"},
          {"320 50", "backspace"},
          {"250 50", "0"},
          {"250 100", "5"},
          {"320 100", "return"}}},
    };
    for (const auto& keypad : keypads) {
        SCOPED_TRACE(keypad.name);
        std::string tapped = std::string("10 key f2\n30 tap ") + keypad.grid + "\n";
        std::string typed = tapped;
        int frame = 60;
        for (const auto& [tap, key] : keypad.presses) {
            tapped += std::to_string(frame) + " tap " + tap + "\n";
            typed += std::to_string(frame) + " key " + key + "\n";
            frame += 10;
        }
        const std::string byTaps = play(tapped, 140);
        EXPECT_NE(byTaps.find("touch"), std::string::npos) << byTaps;
        EXPECT_EQ(play(typed, 140), byTaps);
    }
}

}  // namespace
}  // namespace quintora
