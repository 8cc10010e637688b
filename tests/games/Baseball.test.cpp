#include "games/Baseball.hpp"

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kBaseball = 5;

BaseballLayer* baseball() { return StageTest::layerAs<BaseballLayer>(); }
void run() { StageTest::tap(baseball()->runButton().centre().x, baseball()->runButton().centre().y); }
Rect runnerRect() {
    return makeRect(baseball()->playerPosition().x - 27, baseball()->playerPosition().y - 20, 54, 40);
}
Rect ballRect() {
    return makeRect(baseball()->ballPosition().x - 7, baseball()->ballPosition().y - 7, 14, 14);
}

// Nine quick steps bring the runner onto the base before the ball at any level.
void stealTheBase(StageTest&, int) {
    for (int i = 0; i < 9; ++i) run();
    EXPECT_TRUE(rectIntersectsRect(runnerRect(), baseball()->secondBase()));
}
// A step every 0.4 s is too slow at any level.
void dawdle(StageTest& t, int) {
    for (int taps = 0; taps < 15 && !StageTest::decided(); ++taps) {
        run();
        for (int i = 0; i < 23 && !StageTest::decided(); ++i) t.frame();
    }
    EXPECT_TRUE(rectIntersectsRect(ballRect(), baseball()->secondBase()));
}

}  // namespace

const StagePlayer kBaseballPlayer{stealTheBase, dawdle, std::nullopt};

}  // namespace quintora::testing
