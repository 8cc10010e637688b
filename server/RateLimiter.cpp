#include "server/RateLimiter.hpp"

namespace quintora::server {

namespace {

constexpr std::int64_t kMinute = 60;

// Drops the seconds that are a minute old or more (or, after the clock stepped backwards, in the future).
void forgetOld(std::deque<std::pair<std::int64_t, int>>& posts, std::int64_t now) {
    std::erase_if(posts,
                  [&](const auto& second) { return now - second.first >= kMinute || second.first > now; });
}

}  // namespace

RateLimiter::RateLimiter(int perMinute, Clock clock) : perMinute_(perMinute), clock_(std::move(clock)) {}

bool RateLimiter::allow(const std::string& address) {
    if (perMinute_ <= 0) return true;
    const std::int64_t now = clock_();
    const std::lock_guard lock(mutex_);
    forgetIdleAddresses(now);
    Posts& posts = posts_[address];
    forgetOld(posts, now);
    int used = 0;
    for (const auto& second : posts) used += second.second;
    if (used >= perMinute_) return false;
    if (posts.empty() || posts.back().first != now) posts.emplace_back(now, 0);
    ++posts.back().second;
    return true;
}

void RateLimiter::forgetIdleAddresses(std::int64_t now) {
    // An address with no post in the last minute has its whole allowance, so forgetting it changes
    // nothing; this keeps the table from growing with every address ever seen.
    if (now - lastSweep_ < kMinute) return;
    lastSweep_ = now;
    for (auto entry = posts_.begin(); entry != posts_.end();) {
        forgetOld(entry->second, now);
        entry = entry->second.empty() ? posts_.erase(entry) : std::next(entry);
    }
}

}  // namespace quintora::server
