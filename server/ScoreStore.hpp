#pragma once
// Where scores live. One small interface so that a single machine can keep them in a SQLite file and a
// farm of servers can share one PostgreSQL database, with the same answers from both.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

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
    std::int64_t date = 0;  // seconds since 1970, UTC
    std::string extra;      // the fields the client added beyond the known ones, as a form body
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
};

class ScoreStore {
  public:
    virtual ~ScoreStore() = default;

    // Returns only once the score is durably stored; throws StoreError otherwise. Safe to call from many
    // threads at once: concurrent writes may share one commit.
    virtual void write(const NewScore& score, WriteMode mode) = 0;

    // Safe to call from many threads at once. Throws StoreError when the store cannot be read.
    [[nodiscard]] virtual std::vector<StoredScore> query(const ScoreQuery& query) = 0;
};

// Opens the store a URL names: "sqlite:PATH" or "postgresql://..." (also "postgres://..."). Creates or
// upgrades the schema. Throws StoreError with a message for the operator when that cannot be done.
[[nodiscard]] std::unique_ptr<ScoreStore> openStore(const std::string& url);

}  // namespace quintora::server
