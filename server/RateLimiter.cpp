#include "server/RateLimiter.hpp"

#include <algorithm>

namespace quintora::server {

namespace {
constexpr std::int64_t kMinute = 60;
}

RateLimiter::RateLimiter(int perMinute, Clock clock) : perMinute_(perMinute), clock_(std::move(clock)) {}

bool RateLimiter::allow(const std::string& address) {
    if (perMinute_ <= 0) return true;
    const std::int64_t now = clock_();
    const std::lock_guard lock(mutex_);
    forgetIdleAddresses(now);
    auto [entry, added] = buckets_.try_emplace(address, Bucket{static_cast<double>(perMinute_), now});
    Bucket& bucket = entry->second;
    // A clock stepped backwards refills nothing rather than draining the allowance.
    const std::int64_t elapsed = std::max<std::int64_t>(0, now - bucket.updated);
    bucket.tokens =
        std::min<double>(perMinute_, bucket.tokens + static_cast<double>(elapsed) * perMinute_ / kMinute);
    bucket.updated = now;
    if (bucket.tokens < 1.0) return false;
    bucket.tokens -= 1.0;
    return true;
}

void RateLimiter::forgetIdleAddresses(std::int64_t now) {
    // An address idle for a minute is back to a full allowance, so forgetting it changes nothing; this
    // keeps the table from growing with every address ever seen.
    if (now - lastSweep_ < kMinute) return;
    lastSweep_ = now;
    std::erase_if(buckets_, [&](const auto& entry) { return now - entry.second.updated >= kMinute; });
}

}  // namespace quintora::server
