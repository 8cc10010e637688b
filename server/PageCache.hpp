#pragma once
// Recently answered ranking pages. The game asks for the same few pages over and over, so most requests
// can skip the database. An entry serves only within the second it was made and only while no score has
// been stored through this server since, so a page is never staler than one second even when other
// servers write to the same database.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace quintora::server {

struct PageCacheStats {
    std::uint64_t hits = 0;
    std::uint64_t misses = 0;
    std::uint64_t bytes = 0;  // of the pages held now
};

class PageCache {
  public:
    [[nodiscard]] std::optional<std::string> find(const std::string& key, std::int64_t now) {
        const std::lock_guard lock(mutex_);
        const auto entry = pages_.find(key);
        if (entry == pages_.end() || entry->second.made != now || entry->second.generation != generation_) {
            ++stats_.misses;
            return std::nullopt;
        }
        ++stats_.hits;
        return entry->second.page;
    }

    // `generation` is what generation() said before the page was read from the store, so a page read
    // while a write was being stored is not kept as current.
    void keep(const std::string& key, std::int64_t now, std::uint64_t generation, std::string page) {
        const std::lock_guard lock(mutex_);
        if (pages_.size() >= kMaxPages) {
            pages_.clear();
            stats_.bytes = 0;
        }
        const auto [entry, added] = pages_.try_emplace(key);
        if (!added) stats_.bytes -= entry->second.page.size();
        stats_.bytes += page.size();
        entry->second = Entry{now, generation, std::move(page)};
    }

    [[nodiscard]] std::uint64_t generation() {
        const std::lock_guard lock(mutex_);
        return generation_;
    }

    [[nodiscard]] PageCacheStats stats() {
        const std::lock_guard lock(mutex_);
        return stats_;
    }

    // Called after every stored score.
    void invalidate() {
        const std::lock_guard lock(mutex_);
        ++generation_;
    }

  private:
    static constexpr std::size_t kMaxPages = 4096;
    struct Entry {
        std::int64_t made = 0;
        std::uint64_t generation = 0;
        std::string page;
    };
    std::mutex mutex_;
    std::unordered_map<std::string, Entry> pages_;
    std::uint64_t generation_ = 0;
    PageCacheStats stats_;
};

}  // namespace quintora::server
