#include "server/Clock.hpp"

#include <ctime>

namespace quintora::server {

Clock systemClock() {
    return [] { return static_cast<std::int64_t>(std::time(nullptr)); };
}

}  // namespace quintora::server
