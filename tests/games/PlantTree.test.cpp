#include "games/PlantTree.hpp"

#include <string>

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kPlantTree = 10;

PlantTreeLayer* field() { return StageTest::layerAs<PlantTreeLayer>(); }

// Taps the button `count` times, one tap every `frames` frames (a tap lasts two of them).
void tapButton(StageTest& t, int count, int frames = 2) {
    for (int i = 0; i < count; ++i) {
        StageTest::tap(field()->buttonRect().centre().x, field()->buttonRect().centre().y);
        for (int f = 2; f < frames; ++f) t.frame();
    }
}
// The planted trees: the layer's 30 x 40 sprites.
int trees() {
    int count = 0;
    for (const Ref<Node>& child : field()->children()) {
        const auto* sprite = dynamic_cast<const Sprite*>(child.get());
        count += sprite != nullptr && sprite->contentSize() == Size{30, 40} ? 1 : 0;
    }
    return count;
}

// Six taps a second; the last tree wins at once, without waiting for a tick.
void plantThemAll(StageTest& t, int level) {
    const int target = 10 + 5 * level;
    EXPECT_EQ(field()->counterText(), std::to_string(target));
    tapButton(t, target - 1, 10);
    EXPECT_EQ(field()->counterText(), "1");
    const Point button = field()->buttonRect().centre();
    StageTest::touch(TouchPhase::Began, button.x, button.y);
    EXPECT_TRUE(StageTest::decided());
    EXPECT_EQ(trees(), target);
}
// Two taps a second: even 15 trees need three.
void plantSlowly(StageTest& t, int) {
    for (int i = 0; i < 20 && !StageTest::decided(); ++i) tapButton(t, 1, 30);
}
const RegisterStage kPlayer(kPlantTree, {plantThemAll, plantSlowly, false});

}  // namespace
}  // namespace quintora::testing
