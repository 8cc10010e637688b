#include "games/HamburgerGame.hpp"

#include <vector>

#include "engine/TextureMgr.hpp"
#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kHamburger = 1;

// Tray centres by kind, 1 to 5 (5 is the top bun).
constexpr Point kTray[] = {{}, {80, 30}, {180, 30}, {270, 30}, {360, 30}, {440, 30}};
constexpr const char* kFilling[] = {nullptr, "hamvar2.png", "hamvar1.png", "hamtomato.png", "hamcheese.png"};

HamburgerGameLayer* burger() { return StageTest::layerAs<HamburgerGameLayer>(); }

// The order as the left burger shows it, bottom up, each filling told by its picture.
std::vector<int> order() {
    std::vector<int> kinds;
    for (int k = 1; burger()->orderFilling(k) != nullptr; ++k) {
        int kind = 0;
        for (int i = 1; i <= 4; ++i) {
            if (burger()->orderFilling(k)->texture() == TextureMgr::sharedTextureMgr().addImage(kFilling[i]))
                kind = i;
        }
        kinds.push_back(kind);
    }
    return kinds;
}
void press(int kind) { StageTest::touch(TouchPhase::Began, kTray[kind].x, kTray[kind].y); }
void serve(int kind) { StageTest::tap(kTray[kind].x, kTray[kind].y); }

void serveTheOrder(StageTest&, int level) {
    const std::vector<int> kinds = order();
    ASSERT_EQ(kinds.size(), static_cast<std::size_t>(4 + level));
    for (std::size_t j = 0; j < kinds.size(); ++j) {
        serve(kinds[j]);
        ASSERT_NE(burger()->stackedFilling(static_cast<int>(j)), nullptr);
    }
}
// Right at first, then a tray of another kind, or the top bun which is never right.
void serveWrong(StageTest&, int level) {
    const std::vector<int> kinds = order();
    serve(kinds[0]);
    ASSERT_FALSE(StageTest::decided());
    press(level == 3 ? 5 : kinds[1] % 4 + 1);
    EXPECT_TRUE(StageTest::decided()) << "lost at the tap";
    EXPECT_EQ(burger()->stackedFilling(1), nullptr);
}

}  // namespace

const StagePlayer kHamburgerGamePlayer{serveTheOrder, serveWrong, false};

}  // namespace quintora::testing
