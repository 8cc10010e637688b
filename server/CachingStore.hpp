#pragma once
// Recently read ranking pages, in front of a store. The game and the web page ask for the same few pages
// over and over, so most reads can skip the database. A page serves only within the second it was read and
// only while nothing was written through this store since, so it is never staler than one second even when
// other servers write to the same database. The pages kept are bounded in bytes, not in number: a page of
// long names weighs far more than one of short names, and a flood of distinct queries must not grow the
// process.
#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "server/Clock.hpp"
#include "server/ScoreStore.hpp"

namespace quintora::server {

class CachingStore final : public ScoreStore {
  public:
    static constexpr std::size_t kDefaultMaxBytes = 4 * 1024 * 1024;

    CachingStore(ScoreStore& store, Clock clock, std::size_t maxBytes = kDefaultMaxBytes);

    bool write(const NewScore& score, WriteMode mode) override;
    [[nodiscard]] std::vector<StoredScore> query(const ScoreQuery& query) override;

    // What `render` makes of a page's rows, kept beside the rows by the same rules, so that a page asked
    // for again within its second is neither read nor written out again. `form` tells the renderings of
    // one query apart ("json", "html"). Throws StoreError as query() does.
    using Render = std::function<std::string(const std::vector<StoredScore>& rows)>;
    [[nodiscard]] std::string rendered(const ScoreQuery& query, std::string_view form, const Render& render);

    // What the kept pages weigh, by the same measure as the bound.
    [[nodiscard]] std::size_t bytesKept();

    // Operations go to the store behind the cache.
    void checkHealth() override { store_.checkHealth(); }
    void backup(const std::filesystem::path& file) override { store_.backup(file); }
    [[nodiscard]] const LatencyHistogram& commitLatency() const override { return store_.commitLatency(); }
    [[nodiscard]] PageCacheStats pageCacheStats() override;

  protected:
    std::vector<TextRow> runTransaction(const std::vector<SqlStatement>& statements) override;
    std::vector<TextRow> read(const SqlStatement& statement) override;
    [[nodiscard]] SqlDialect dialect() const override;

  private:
    struct Entry {
        std::vector<StoredScore> rows;
        std::string text;
        std::size_t bytes = 0;
    };
    // The entry kept under `key`, or the one `make` makes, kept when nothing was written meanwhile;
    // `counted` says whether the lookup counts among the hits and misses.
    Entry cached(const std::string& key, const std::function<Entry()>& make, bool counted = true);
    void forgetAll();
    void keep(const std::string& key, Entry entry);

    ScoreStore& store_;
    const Clock clock_;
    const std::size_t maxBytes_;
    std::mutex mutex_;
    std::unordered_map<std::string, Entry> pages_;
    std::list<std::string> oldestFirst_;
    std::size_t bytes_ = 0;
    std::uint64_t hits_ = 0;
    std::uint64_t misses_ = 0;
    std::int64_t second_ = 0;       // the second every kept page was read in
    std::uint64_t generation_ = 0;  // counts the writes, so a page read across one is not kept
};

}  // namespace quintora::server
