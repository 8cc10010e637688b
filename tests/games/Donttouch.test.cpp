#include "games/Donttouch.hpp"

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kDonttouch = 13;

void waitItOut(StageTest&, int) {}
// A touch in the last tenth of a second, in the screen's corner, loses like any other; at level 3 it comes
// while the win picture shows, and still turns the stage into a loss.
void touchLate(StageTest& t, int level) {
    while (t.stageLayer()->currentTime() < 4.85f) t.frame();
    if (level == 3) {
        ASSERT_TRUE(t.runUntilDecided());
        EXPECT_TRUE(game().win);
    }
    StageTest::tap(470, 10);
}
const RegisterStage kPlayer(kDonttouch, {waitItOut, touchLate, true});

}  // namespace
}  // namespace quintora::testing
