#pragma once
// Caps the posts of one address: at most `perMinute` in any 60 seconds in a row. A burst is allowed, but
// what it used comes back only as its posts grow a minute old.
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

#include "server/Clock.hpp"

namespace quintora::server {

class RateLimiter {
  public:
    // perMinute 0 lets everything through.
    RateLimiter(int perMinute, Clock clock);

    // Counts one post from `address`; false when that address has used up its allowance.
    [[nodiscard]] bool allow(const std::string& address);

  private:
    // The posts of the last minute, a count for each second that had any: at most 60 entries.
    using Posts = std::deque<std::pair<std::int64_t, int>>;
    void forgetIdleAddresses(std::int64_t now);

    const int perMinute_;
    const Clock clock_;
    std::mutex mutex_;
    std::unordered_map<std::string, Posts> posts_;
    std::int64_t lastSweep_ = 0;
};

}  // namespace quintora::server
