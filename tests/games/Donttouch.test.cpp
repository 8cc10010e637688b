#include "games/Donttouch.hpp"

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kDonttouch = 13;

void waitItOut(StageTest&, int) {}
// A touch in the last tenth of a second, in the screen's corner, loses like any other.
void touchLate(StageTest& t, int) {
    while (t.stageLayer()->currentTime() < 4.85f) t.frame();
    StageTest::tap(470, 10);
}
const RegisterStage kPlayer(kDonttouch, {waitItOut, touchLate, true});

}  // namespace
}  // namespace quintora::testing
