#include "server/CachingStore.hpp"

#include "online/ScoreForm.hpp"

namespace quintora::server {

namespace {

// Every part of a query, escaped so that "&" ends each one; a filter that is not asked for is "-", one that
// is asked for starts with "+".
std::string cacheKey(const ScoreQuery& query) {
    const auto filter = [](const std::optional<std::string>& value) { return value ? "+" + *value : "-"; };
    std::string key;
    for (const std::string& part :
         {query.game, query.category, filter(query.device), filter(query.country),
          std::to_string(query.since.value_or(-1)), std::to_string(query.offset), std::to_string(query.limit),
          std::string(query.verifiedOnly ? "+" : "-")}) {
        key += encodeData(part);
        key += '&';
    }
    return key;
}

// What a page costs the process: its texts, its rows and the bookkeeping around it.
std::size_t weight(const std::string& key, const std::vector<StoredScore>& rows, const std::string& text) {
    constexpr std::size_t kBookkeeping = 160;
    std::size_t bytes =
        kBookkeeping + 2 * key.capacity() + text.capacity() + rows.capacity() * sizeof(StoredScore);
    for (const StoredScore& row : rows) {
        for (const std::string* part : {&row.category, &row.name, &row.country, &row.device}) {
            if (part->capacity() >= sizeof(std::string)) bytes += part->capacity() + 1;  // not held inline
        }
    }
    return bytes;
}

}  // namespace

CachingStore::CachingStore(ScoreStore& store, Clock clock, std::size_t maxBytes)
    : store_(store), clock_(std::move(clock)), maxBytes_(maxBytes) {}

bool CachingStore::write(const NewScore& score, WriteMode mode) {
    const bool stored = store_.write(score, mode);
    const std::lock_guard lock(mutex_);
    ++generation_;
    forgetAll();
    return stored;
}

std::vector<StoredScore> CachingStore::query(const ScoreQuery& query) {
    return cached(cacheKey(query), [&] { return Entry{store_.query(query), {}, 0}; }).rows;
}

std::string CachingStore::rendered(const ScoreQuery& query, std::string_view form, const Render& render) {
    // A rendering missed asks for its rows in turn; that one request counts once, as a hit or a miss.
    const auto rows = [&] {
        return cached(
                   cacheKey(query),
                   [&] {
                       return Entry{store_.query(query), {}, 0};
                   },
                   false)
            .rows;
    };
    return cached(std::string(form) + '|' + cacheKey(query),
                  [&] {
                      return Entry{{}, render(rows()), 0};
                  })
        .text;
}

CachingStore::Entry CachingStore::cached(const std::string& key, const std::function<Entry()>& make,
                                         bool counted) {
    const std::int64_t now = clock_();
    std::uint64_t generation = 0;
    {
        const std::lock_guard lock(mutex_);
        if (now != second_) {
            forgetAll();
            second_ = now;
        }
        if (const auto found = pages_.find(key); found != pages_.end()) {
            hits_ += counted ? 1 : 0;
            return found->second;
        }
        misses_ += counted ? 1 : 0;
        generation = generation_;
    }
    Entry entry = make();
    const std::lock_guard lock(mutex_);
    if (generation == generation_ && now == second_) keep(key, entry);
    return entry;
}

std::size_t CachingStore::bytesKept() {
    const std::lock_guard lock(mutex_);
    return bytes_;
}

PageCacheStats CachingStore::pageCacheStats() {
    const std::lock_guard lock(mutex_);
    return {hits_, misses_, bytes_};
}

void CachingStore::keep(const std::string& key, Entry entry) {
    const std::size_t bytes = weight(key, entry.rows, entry.text);
    if (bytes > maxBytes_ || pages_.contains(key)) return;
    while (bytes_ + bytes > maxBytes_) {
        const auto oldest = pages_.find(oldestFirst_.front());
        bytes_ -= oldest->second.bytes;
        pages_.erase(oldest);
        oldestFirst_.pop_front();
    }
    oldestFirst_.push_back(key);
    entry.bytes = bytes;
    pages_.emplace(key, std::move(entry));
    bytes_ += bytes;
}

void CachingStore::forgetAll() {
    // Swapped out rather than cleared, so that the memory goes back at once rather than staying reserved
    // for the next second's pages.
    std::unordered_map<std::string, Entry>().swap(pages_);
    oldestFirst_.clear();
    bytes_ = 0;
}

std::vector<ScoreStore::TextRow> CachingStore::runTransaction(const std::vector<SqlStatement>& statements) {
    std::vector<TextRow> rows = store_.runTransaction(statements);
    const std::lock_guard lock(mutex_);
    ++generation_;
    forgetAll();
    return rows;
}

std::vector<ScoreStore::TextRow> CachingStore::read(const SqlStatement& statement) {
    return store_.read(statement);
}

SqlDialect CachingStore::dialect() const { return store_.dialect(); }

}  // namespace quintora::server
