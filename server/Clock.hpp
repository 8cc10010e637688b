#pragma once
// The server's time of day, in whole seconds since 1970. Injected so that tests can date scores in the past
// and step the rate limiter without waiting.
#include <cstdint>
#include <functional>

namespace quintora::server {

using Clock = std::function<std::int64_t()>;

// Reads the system's wall clock.
[[nodiscard]] Clock systemClock();

}  // namespace quintora::server
