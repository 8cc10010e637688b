#include "platform/Clock.hpp"

#include <sys/time.h>

#include <cmath>

namespace quintora::platform {
namespace {

bool virtualClock = false;
// Kept in whole microseconds so that sixty frames of 1/60 s add up to exactly one second.
std::int64_t virtualMicros = 0;
double virtualRemainder = 0.0;

}  // namespace

std::optional<TimeOfDay> timeOfDay() {
    if (virtualClock) {
        return TimeOfDay{static_cast<std::int32_t>(virtualMicros / 1000000),
                         static_cast<std::int32_t>(virtualMicros % 1000000)};
    }
    timeval now{};
    if (gettimeofday(&now, nullptr) != 0) return std::nullopt;
    return TimeOfDay{static_cast<std::int32_t>(now.tv_sec), static_cast<std::int32_t>(now.tv_usec)};
}

std::int64_t secondsNow() {
    if (virtualClock) return virtualMicros / 1000000;
    timeval now{};
    gettimeofday(&now, nullptr);
    return now.tv_sec;
}

void useVirtualClock(std::int64_t epochSeconds) {
    virtualClock = true;
    virtualMicros = epochSeconds * 1000000;
    virtualRemainder = 0.0;
}

void useRealClock() { virtualClock = false; }

bool isVirtualClock() { return virtualClock; }

void advanceVirtualClock(double seconds) {
    const double micros = seconds * 1e6 + virtualRemainder;
    const double whole = std::floor(micros);
    virtualRemainder = micros - whole;
    virtualMicros += static_cast<std::int64_t>(whole);
}

std::int64_t virtualClockMicros() { return virtualMicros; }

void setVirtualClockMicros(std::int64_t micros) {
    virtualMicros = micros;
    virtualRemainder = 0.0;
}

}  // namespace quintora::platform
