#pragma once
// Whoever follows runs (the replay recorder and verifier) hears of them here. A run does not depend on
// being followed: with no observer set, nothing is told.
#include <cstdint>

#include "flow/GameState.hpp"

namespace quintora {

class RunObserver {
  public:
    virtual ~RunObserver() = default;
    // A run starts from this state (its level and stage order), before its first stage is drawn.
    virtual void runStarting(const GameState& state) = 0;
    // The random generator was seeded with this clock second (in a run, in practice, anywhere).
    virtual void randomSeeded(std::int64_t seed) = 0;
    // A stage of the run was booked: its number and whether it was won.
    virtual void stageBooked(int number, bool won) = 0;
    // The run is over; the records screen comes next.
    virtual void runEnded(const GameState& state) = 0;
};

// The observer in use, or null; the caller keeps it alive for as long as it is set.
void setRunObserver(RunObserver* observer);
[[nodiscard]] RunObserver* runObserver();

}  // namespace quintora
