// A long session headless on the virtual clock: stage after stage through the game's own flow, with a
// touch in the middle of the screen every 45 frames, and lives topped up before they run out. Prints the
// resident memory after stage 50 and at the end, and how much it grew in between.
// Usage: soak [STAGES]; with SOAK_TRACE set it prints the resident memory after every stage.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/Director.hpp"
#include "engine/Scene.hpp"
#include "flow/ChangeClass.hpp"
#include "flow/GameState.hpp"
#include "platform/Audio.hpp"
#include "platform/Clock.hpp"
#include "platform/Display.hpp"

namespace {

using namespace quintora;

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return 0;
}

void tap(Director& director, float x, float y, TouchPhase phase) {
    // Held in landscape, the view reports a scene point (x, y) as (y, x).
    director.touches(phase, TouchSet{Touch{1, {y, x}}}, TouchEvent{});
}

}  // namespace

int main(int argc, char** argv) {
    const int stages = argc > 1 ? std::atoi(argv[1]) : 1000;
    platform::useVirtualClock(1230768000);
    platform::disableAudio();
    auto display = platform::openHeadlessDisplay(1);
    if (!display) return 1;
    Director& director = Director::sharedDirector();
    director.setLandscape(true);
    director.attachInWindow(display.get());

    game().SelectLevel = 1;
    game().Life = 5;
    director.runWithScene(Scene::node().get());
    Ref<ChangeClass> start = ChangeClass::make();
    start->StageChange();
    int played = 0;
    Scene* shown = director.runningScene();
    long atFifty = 0;
    // Every stage ends within seconds; a bound on frames keeps a stuck run from going on for ever.
    for (long frame = 1; played < stages && frame < 2000L * stages; ++frame) {
        if (frame % 45 == 0) tap(director, 240, 160, TouchPhase::Began);
        if (frame % 45 == 1) tap(director, 240, 160, TouchPhase::Ended);
        // Lives are topped up before they run out, so that the run never reaches the records screen.
        if (game().Life < 3) game().Life = 5;
        platform::advanceVirtualClock(director.animationInterval());
        director.mainLoop();
        if (director.runningScene() != shown) {
            shown = director.runningScene();
            ++played;
            if (std::getenv("SOAK_TRACE")) std::printf("stage %d: %ld KiB\n", played, residentKiB());
            if (played == 50) {
                atFifty = residentKiB();
                std::printf("stage 50: %ld KiB resident\n", atFifty);
                std::fflush(stdout);
            }
        }
    }
    const long atEnd = residentKiB();
    std::printf("stage %d: %ld KiB resident\n", played, atEnd);
    if (atFifty > 0) {
        std::printf("growth from stage 50: %+.1f%%\n",
                    100.0 * static_cast<double>(atEnd - atFifty) / atFifty);
    }
    director.end();
    return 0;
}
