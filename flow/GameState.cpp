#include "flow/GameState.hpp"

#include <cstdlib>

#include "flow/RunObserver.hpp"
#include "platform/Clock.hpp"

namespace quintora {

GameState& game() {
    static GameState state;
    return state;
}

void seedRandomFromClock() {
    const std::int64_t seed = platform::secondsNow();
    if (RunObserver* observer = runObserver()) observer->randomSeeded(seed);
    srandom(static_cast<unsigned>(seed));
}

namespace {
RunObserver* currentObserver = nullptr;
}  // namespace

void setRunObserver(RunObserver* observer) { currentObserver = observer; }

RunObserver* runObserver() { return currentObserver; }

}  // namespace quintora
