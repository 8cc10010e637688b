#include "server/Metrics.hpp"

namespace quintora::server {

namespace {

// Label values are the server's own texts, but escaped as the format asks all the same.
std::string labelValue(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c == '\n' ? 'n' : c;
    }
    return out;
}

void header(std::string& out, const char* name, const char* type, const char* help) {
    out += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
}

}  // namespace

void Metrics::countRequest(std::string_view route, int status) {
    const std::lock_guard lock(mutex_);
    ++requests_[{std::string(route), status}];
}

void Metrics::countRefusal(std::string_view reason) {
    const std::lock_guard lock(mutex_);
    const auto found = refusals_.find(reason);
    if (found != refusals_.end()) {
        ++found->second;
    } else {
        refusals_.emplace(reason, 1);
    }
}

std::string Metrics::text(const PageCacheStats& pageCache, const LatencyHistogram& commits,
                          const VerificationStats& verifications) const {
    std::string out;
    {
        const std::lock_guard lock(mutex_);
        header(out, "quintora_http_requests_total", "counter", "Requests answered, by route and status.");
        for (const auto& [key, count] : requests_) {
            out += "quintora_http_requests_total{route=\"" + labelValue(key.first) + "\",status=\"" +
                   std::to_string(key.second) + "\"} " + std::to_string(count) + "\n";
        }
        header(out, "quintora_refusals_total", "counter", "Posts refused, by reason.");
        for (const auto& [reason, count] : refusals_) {
            out += "quintora_refusals_total{reason=\"" + labelValue(reason) + "\"} " + std::to_string(count) +
                   "\n";
        }
    }
    header(out, "quintora_open_connections", "gauge", "HTTP connections open now.");
    out += "quintora_open_connections " + std::to_string(openConnections_.load()) + "\n";
    header(out, "quintora_page_cache_hits_total", "counter", "Ranking pages answered from the cache.");
    out += "quintora_page_cache_hits_total " + std::to_string(pageCache.hits) + "\n";
    header(out, "quintora_page_cache_misses_total", "counter", "Ranking pages read from the store.");
    out += "quintora_page_cache_misses_total " + std::to_string(pageCache.misses) + "\n";
    header(out, "quintora_page_cache_bytes", "gauge", "Bytes of ranking pages the cache holds.");
    out += "quintora_page_cache_bytes " + std::to_string(pageCache.bytes) + "\n";
    commits.appendTo(out, "quintora_store_commit_seconds",
                     "Time to commit one batch of posts durably to the store.");
    header(out, "quintora_verifications_total", "counter", "Replays this server verified, by verdict.");
    for (std::size_t i = 0; i < verifications.done.size(); ++i) {
        const auto verdict = static_cast<Verdict>(i);
        if (verdict == Verdict::None || verdict == Verdict::Pending) continue;
        out += "quintora_verifications_total{verdict=\"" + std::string(nameOf(verdict)) + "\"} " +
               std::to_string(verifications.done[i]) + "\n";
    }
    header(out, "quintora_verifier_start_failures_total", "counter",
           "Verifiers that could not be started; their entries stay pending.");
    out += "quintora_verifier_start_failures_total " + std::to_string(verifications.startFailures) + "\n";
    if (verifications.pending) {
        header(out, "quintora_verifications_pending", "gauge",
               "Entries in the store waiting for a verifier.");
        out += "quintora_verifications_pending " + std::to_string(*verifications.pending) + "\n";
    }
    return out;
}

}  // namespace quintora::server
