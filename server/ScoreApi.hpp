#pragma once
// What the score protocol's requests do, apart from HTTP: a posted form becomes a stored score or a
// refusal, a query becomes a JSON page of the ranking.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/Clock.hpp"
#include "server/Country.hpp"
#include "server/PageCache.hpp"
#include "server/RateLimiter.hpp"
#include "server/ScoreChecks.hpp"
#include "server/ScoreStore.hpp"

namespace quintora::server {

struct Reply {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers = {};  // beyond Content-Type
};

// Who is asking: the peer's numeric address and what the trusted country header held, if anything.
struct Caller {
    std::string address;
    const char* countryHeader = nullptr;
};

// Looks up one query-string argument; nullptr when absent.
using ArgumentLookup = std::function<const char*(const char* name)>;

inline constexpr int kDefaultQueryType = 4;
inline constexpr int kDefaultLimit = 15;
inline constexpr int kMaxLimit = 100;
inline constexpr int kMaxOffset = 10'000;

class ScoreApi {
  public:
    ScoreApi(ScoreStore& store, GameKeys games, int postsPerMinute, const CountryLookup& countries,
             Clock clock);

    // POST /api/post-score (Add) and /api/update-score (KeepBest). "OK" only once the score is stored.
    [[nodiscard]] Reply post(std::string_view body, WriteMode mode, const Caller& caller);

    // GET /api/get-scores.
    [[nodiscard]] Reply scores(const ArgumentLookup& argument, const Caller& caller);

    // GET /healthz: 200 only while the store answers and still keeps what is written to it.
    [[nodiscard]] Reply health();

    [[nodiscard]] PageCacheStats pageCacheStats() { return pages_.stats(); }
    [[nodiscard]] const LatencyHistogram& commitLatency() const { return store_.commitLatency(); }

    // The country a caller's scores are stored under.
    [[nodiscard]] std::string countryOf(const Caller& caller) const;

  private:
    ScoreStore& store_;
    const GameKeys games_;
    RateLimiter rateLimiter_;
    const CountryLookup& countries_;
    const Clock clock_;
    PageCache pages_;
};

}  // namespace quintora::server
