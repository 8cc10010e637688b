#pragma once
// Where scores live. One small interface so that a single machine can keep them in a SQLite file and a
// farm of servers can share one PostgreSQL database, with the same answers from both.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/LatencyHistogram.hpp"
#include "server/Verdict.hpp"

namespace quintora::server {

// A store that cannot do what was asked (disk full, database gone). The caller answers an error and goes
// on serving; nothing that raised this was acknowledged.
class StoreError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One checked score as it arrives.
struct NewScore {
    std::string game;
    std::string category;
    std::string name;
    double score = 0.0;
    std::string country;
    std::string device;
    std::int64_t date = 0;            // seconds since 1970, UTC
    std::string extra;                // the fields the client added beyond the known ones, as a form body
    std::string signature;            // its qs_hash; a game stores a signature once (empty: none to remember)
    std::string replay = {};          // the run's replay file, when posted with one
    Verdict verdict = Verdict::None;  // Pending with a replay to verify, or decided before it is stored
    std::string reason = {};          // why, for a verdict decided before
};

// How a write treats the scores already there.
enum class WriteMode {
    Add,       // always a new entry
    KeepBest,  // one entry per game, category, device and name; replaced only by a longer time
};

// One entry as the rankings show it.
struct StoredScore {
    std::int64_t id = 0;
    std::string category;
    std::string name;
    double score = 0.0;
    std::string country;
    std::string device;
    std::int64_t date = 0;
    bool verified = false;
};

// A page of a ranking: best first, equal times earliest first, then in order of arrival.
struct ScoreQuery {
    std::string game;
    std::string category;                // empty: every category
    std::optional<std::int64_t> since;   // only entries dated at or after this
    std::optional<std::string> device;   // only this device's entries
    std::optional<std::string> country;  // only this country's entries
    int offset = 0;
    int limit = 15;
    bool verifiedOnly = false;  // only the entries whose replay re-played to their score
};

// Where one device's best entry stands in a level's ranking.
struct RankQuery {
    std::string game;
    std::string category;
    std::string device;
    std::optional<std::int64_t> since;  // only entries dated at or after this
    bool verifiedOnly = false;
};
struct OwnRank {
    std::int64_t rank = 0;   // 1 for the best; equal times rank as the ranking lists them
    std::int64_t total = 0;  // entries in the level's ranking
    std::string name;
    double score = 0.0;
};

// What an operator looks for among the stored scores; empty texts match everything.
struct ScoreFilter {
    std::string game;
    std::string category;
    std::string nameContains;  // a part of the name, letters of either case (Unicode case folding)
    std::string device;
    int limit = 100;
};

// One entry as an operator sees it: with its game, and whether its device is banned (and the entry hidden).
struct ListedScore {
    StoredScore score;
    std::string game;
    bool hidden = false;
    Verdict verdict = Verdict::None;
    std::string reason;
};

// A replay one verifier has taken on, with what its entry claims. Another verifier takes it only after
// the claim's lease, so that one a crashed server had taken is verified all the same.
struct ClaimedReplay {
    std::int64_t id = 0;
    std::string category;
    double score = 0.0;
    std::int64_t claim = 0;  // tells this claim from a later one of the same entry
    std::string replay;
};

// What a page cache in front of a store has done.
struct PageCacheStats {
    std::uint64_t hits = 0;
    std::uint64_t misses = 0;
    std::uint64_t bytes = 0;  // of the pages held now
};

struct SqlStatement;
enum class SqlDialect;

class ScoreStore {
  public:
    virtual ~ScoreStore() = default;

    // Returns true only once the score is durably stored, false when its signature was stored before (and
    // nothing is written); throws StoreError otherwise. Safe to call from many threads at once: concurrent
    // writes may share one commit.
    virtual bool write(const NewScore& score, WriteMode mode) = 0;

    // Safe to call from many threads at once. Throws StoreError when the store cannot be read.
    [[nodiscard]] virtual std::vector<StoredScore> query(const ScoreQuery& query);
    // Nothing when the device has no entry there. Safe from many threads; throws StoreError as query does.
    [[nodiscard]] std::optional<OwnRank> rank(const RankQuery& query);

    // Moderation, shared by both stores: each change is committed before the call returns; every call
    // throws StoreError when the store cannot do it.
    [[nodiscard]] std::vector<ListedScore> list(const ScoreFilter& filter);
    // Returns the ids among `ids` that were stored (and now are not).
    std::vector<std::int64_t> remove(const std::vector<std::int64_t>& ids);
    // A banned device's entries leave every ranking and its posts are refused. False when it already was.
    bool banDevice(const std::string& device, std::int64_t date);
    // False when the device was not banned.
    bool unbanDevice(const std::string& device);
    [[nodiscard]] bool isBanned(const std::string& device);

    // Verification, shared by both stores; the pending entries are the queue, so that they survive a
    // restart and several servers on one database share them. Each call throws StoreError when the store
    // cannot do it.
    // Takes the oldest pending entry not claimed since `now` (seconds) until `now` + `leaseSeconds`.
    [[nodiscard]] std::optional<ClaimedReplay> claimReplay(std::int64_t now, std::int64_t leaseSeconds);
    // Stores the verdict of a claimed replay, unless the entry changed or was claimed again since. A
    // rejected entry leaves the rankings. False when nothing was stored.
    bool recordVerdict(const ClaimedReplay& claimed, Verdict verdict, const std::string& reason);
    // Gives a claim up before its lease ends, so that the entry is taken again at once.
    void releaseClaim(const ClaimedReplay& claimed);
    // The replay of a ranked entry; nothing when it has none.
    [[nodiscard]] std::optional<std::string> replay(std::int64_t id);
    [[nodiscard]] std::int64_t pendingCount();

    // Operations. Throws StoreError when the store cannot be read, or cannot keep what is written to it
    // (a SQLite file deleted or replaced under the server): such a server must leave the balancer.
    virtual void checkHealth();
    // A consistent copy of the whole store in `file`, taken while the server goes on serving.
    virtual void backup(const std::filesystem::path& file) = 0;
    // What the store's own consistency check finds; empty when nothing.
    [[nodiscard]] std::vector<std::string> integrityProblems();
    [[nodiscard]] virtual const LatencyHistogram& commitLatency() const { return commitLatency_; }
    // Zeros for a store without a cache.
    [[nodiscard]] virtual PageCacheStats pageCacheStats() { return {}; }

  protected:
    using TextRow = std::vector<std::string>;
    // Runs the statements in one transaction and gives every row they return, each column as text (a
    // number as text that reads back exactly).
    virtual std::vector<TextRow> runTransaction(const std::vector<SqlStatement>& statements) = 0;
    // Runs one statement that only reads, on a connection of its own so that reads do not wait for each
    // other, and gives its rows as runTransaction does.
    virtual std::vector<TextRow> read(const SqlStatement& statement) = 0;
    [[nodiscard]] virtual SqlDialect dialect() const = 0;

    LatencyHistogram commitLatency_;
    friend class CachingStore;
};

// Serving creates a store that is not there yet; an operator's command only opens one that is, so that a
// mistyped name is an error rather than a new empty store.
enum class StoreUse { Serve, Moderate };

// Opens the store a URL names: "sqlite:PATH" or "postgresql://..." (also "postgres://..."). Creates it
// (when serving) or upgrades its schema. Throws StoreError with a message for the operator when that cannot
// be done.
[[nodiscard]] std::unique_ptr<ScoreStore> openStore(const std::string& url, StoreUse use = StoreUse::Serve);

}  // namespace quintora::server
