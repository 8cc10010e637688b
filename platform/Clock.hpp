#pragma once
// The one clock of the program. Real by default; in automation and tests it is virtual: it starts at a
// given epoch and moves only when told, so a run is the same on every machine.
#include <cstdint>
#include <optional>

namespace quintora::platform {

struct TimeOfDay {
    std::int32_t seconds = 0;
    std::int32_t microseconds = 0;
};

// The time of day, or nothing when the system clock cannot be read.
[[nodiscard]] std::optional<TimeOfDay> timeOfDay();

// Whole seconds since the epoch, as time() gives them: the seed of the random generator.
[[nodiscard]] std::int64_t secondsNow();

// Switches to a virtual clock standing at the given time; it moves only through advanceVirtualClock.
void useVirtualClock(std::int64_t epochSeconds);
void useRealClock();
[[nodiscard]] bool isVirtualClock();
void advanceVirtualClock(double seconds);
// The virtual clock in whole microseconds since the epoch; setting it moves it to that instant.
[[nodiscard]] std::int64_t virtualClockMicros();
void setVirtualClockMicros(std::int64_t micros);

}  // namespace quintora::platform
