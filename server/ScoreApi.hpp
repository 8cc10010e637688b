#pragma once
// What the score protocol's requests do, apart from HTTP: a posted form becomes a stored score or a
// refusal, a query becomes a JSON page of the ranking.
#include <string>
#include <string_view>

#include "server/CachingStore.hpp"
#include "server/Clock.hpp"
#include "server/Country.hpp"
#include "server/Http.hpp"
#include "server/RateLimiter.hpp"
#include "server/ScoreChecks.hpp"
#include "server/ScoreStore.hpp"
#include "server/VerifierPool.hpp"

namespace quintora::server {

// Who is asking: the peer's numeric address and what the trusted country header held, if anything.
struct Caller {
    std::string address;
    const char* countryHeader = nullptr;
};

inline constexpr int kDefaultLimit = 15;
inline constexpr int kMaxLimit = 100;
inline constexpr int kMaxOffset = 10'000;
inline constexpr std::string_view kReplayMimeType = "application/x-quintora-replay";

class ScoreApi {
  public:
    // With `verifiedOnly`, the rankings hold verified entries only. `verifiers` (when given) is woken by each
    // post with a replay.
    ScoreApi(CachingStore& store, GameKeys games, int postsPerMinute, const CountryLookup& countries,
             Clock clock, bool verifiedOnly = false, VerifierPool* verifiers = nullptr);

    // POST /api/post-score (Add) and /api/update-score (KeepBest). "OK" only once the score is stored; a
    // signature is taken once.
    [[nodiscard]] Reply post(std::string_view body, WriteMode mode, const Caller& caller);

    // GET /api/get-scores.
    [[nodiscard]] Reply scores(const ArgumentLookup& argument, const Caller& caller);

    // GET /healthz: 200 only while the store answers and still keeps what is written to it.
    [[nodiscard]] Reply health();

    [[nodiscard]] PageCacheStats pageCacheStats() { return store_.pageCacheStats(); }
    [[nodiscard]] const LatencyHistogram& commitLatency() const { return store_.commitLatency(); }

    // GET /api/get-rank: where the device's best entry stands in a level's ranking, or a JSON error.
    [[nodiscard]] Reply rank(const ArgumentLookup& argument);

    // GET /api/replay?id=N: a ranked entry's replay, as a file to save.
    [[nodiscard]] Reply replay(const ArgumentLookup& argument);

    // The verifications this server has done, and the entries waiting in the store.
    [[nodiscard]] VerificationStats verificationStats();

    // The country a caller's scores are stored under.
    [[nodiscard]] std::string countryOf(const Caller& caller) const;

  private:
    CachingStore& store_;
    const GameKeys games_;
    RateLimiter rateLimiter_;
    const CountryLookup& countries_;
    const Clock clock_;
    const bool verifiedOnly_;
    VerifierPool* const verifiers_;
};

}  // namespace quintora::server
