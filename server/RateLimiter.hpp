#pragma once
// Caps the posts of one address: at most `perMinute` in any minute, refilled evenly, so a burst is allowed
// but a steady flood is not.
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

#include "server/Clock.hpp"

namespace quintora::server {

class RateLimiter {
  public:
    // perMinute 0 lets everything through.
    RateLimiter(int perMinute, Clock clock);

    // Counts one post from `address`; false when that address has used up its allowance.
    [[nodiscard]] bool allow(const std::string& address);

  private:
    struct Bucket {
        double tokens = 0.0;
        std::int64_t updated = 0;
    };
    void forgetIdleAddresses(std::int64_t now);

    const int perMinute_;
    const Clock clock_;
    std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_;
    std::int64_t lastSweep_ = 0;
};

}  // namespace quintora::server
