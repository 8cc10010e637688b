#include "flow/GameState.hpp"

#include <cstdlib>

#include "platform/Clock.hpp"

namespace quintora {

GameState& game() {
    static GameState state;
    return state;
}

void seedRandomFromClock() { srandom(static_cast<unsigned>(platform::secondsNow())); }

}  // namespace quintora
