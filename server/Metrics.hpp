#pragma once
// What an operator's Prometheus scrapes from GET /metrics: requests by route and status, refusals by
// reason, open connections, the page cache, the store's commit latency and the verification of replays.
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "server/LatencyHistogram.hpp"
#include "server/ScoreStore.hpp"

namespace quintora::server {

class Metrics {
  public:
    // `route` is one of a fixed set of names, so a client cannot make new series by asking for new paths.
    void countRequest(std::string_view route, int status);
    // `reason` is one of the server's own refusal texts.
    void countRefusal(std::string_view reason);
    void connectionOpened() { ++openConnections_; }
    void connectionClosed() { --openConnections_; }

    // Every figure in Prometheus text format.
    [[nodiscard]] std::string text(const PageCacheStats& pageCache, const LatencyHistogram& commits,
                                   const VerificationStats& verifications) const;

  private:
    mutable std::mutex mutex_;
    std::map<std::pair<std::string, int>, std::uint64_t> requests_;
    std::map<std::string, std::uint64_t, std::less<>> refusals_;
    std::atomic<std::int64_t> openConnections_{0};
};

}  // namespace quintora::server
