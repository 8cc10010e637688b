#include "server/ScoreApi.hpp"

#include <charconv>
#include <cstdio>
#include <limits>

#include "online/JSONWriter.hpp"
#include "server/Periods.hpp"
#include "server/Text.hpp"

namespace quintora::server {

namespace {

std::string scoresJson(const std::vector<StoredScore>& rows, int firstRank) {
    std::string json = "{\"scores\":[";
    int rank = firstRank;
    for (const StoredScore& row : rows) {
        if (rank != firstRank) json += ',';
        json += "{\"qs_playername\":";
        appendJSONString(json, row.name);
        json += ",\"qs_score\":" + numberText(row.score) + ",\"qs_country\":";
        appendJSONString(json, row.country);
        json += ",\"qs_category\":";
        appendJSONString(json, row.category);
        json += ",\"rank\":" + std::to_string(rank++) + ",\"date\":";
        appendJSONString(json, isoDate(row.date));
        json += row.verified ? ",\"verified\":true}" : ",\"verified\":false}";
    }
    json += "]}";
    return json;
}

// The operator reads why in the log; the client learns only that it may try again later.
Reply storeUnavailable(const StoreError& error) {
    std::fprintf(stderr, "store error: %s\n", error.what());
    return plainReply(503, "store unavailable");
}

}  // namespace

ScoreApi::ScoreApi(CachingStore& store, GameKeys games, int postsPerMinute, const CountryLookup& countries,
                   Clock clock, bool verifiedOnly, VerifierPool* verifiers)
    : store_(store),
      games_(std::move(games)),
      rateLimiter_(postsPerMinute, clock),
      countries_(countries),
      clock_(std::move(clock)),
      verifiedOnly_(verifiedOnly),
      verifiers_(verifiers) {}

std::string ScoreApi::countryOf(const Caller& caller) const {
    return countries_.countryOf(caller.address, caller.countryHeader);
}

Reply ScoreApi::post(std::string_view body, WriteMode mode, const Caller& caller) {
    if (!rateLimiter_.allow(caller.address)) return plainReply(429, "too many posts");
    const std::optional<FormFields> fields = decodeForm(body);
    if (!fields) return plainReply(400, "malformed form");
    auto checked = checkScore(*fields, games_);
    if (const auto* refusal = std::get_if<Refusal>(&checked))
        return plainReply(refusal->status, refusal->text);
    NewScore& score = std::get<NewScore>(checked);
    score.country = countryOf(caller);
    score.date = clock_();
    try {
        if (store_.isBanned(score.device)) return plainReply(403, "device banned");
        if (!store_.write(score, mode)) return plainReply(409, "already posted");
    } catch (const StoreError& error) {
        return storeUnavailable(error);
    }
    if (score.verdict == Verdict::Pending && verifiers_ != nullptr) verifiers_->wake();
    return plainReply(200, "OK");
}

Reply ScoreApi::health() {
    try {
        store_.checkHealth();
        return plainReply(200, "healthy");
    } catch (const StoreError& error) {
        return storeUnavailable(error);
    }
}

Reply ScoreApi::scores(const ArgumentLookup& argument, const Caller& caller) {
    const char* game = argument("gamename");
    if (game == nullptr || !games_.contains(std::string_view(game))) return plainReply(404, "unknown game");
    ScoreQuery query;
    query.game = game;
    const char* category = argument("category");
    query.category = category ? category : "";
    query.since = periodStart(periodOf(argument("querytype")), clock_());
    const int flags =
        wholeNumber(argument("flags"), 0, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    if ((flags & 2) != 0) {
        const char* device = argument("device");
        query.device = device ? device : "";
    }
    if ((flags & 1) != 0) query.country = countryOf(caller);
    query.offset = wholeNumber(argument("offset"), 0, 0, kMaxOffset);
    query.limit = wholeNumber(argument("limit"), kDefaultLimit, 1, kMaxLimit);
    query.verifiedOnly = verifiedOnly_;
    try {
        return Reply{200, "application/json; charset=utf-8",
                     store_.rendered(query, "json", [&](const std::vector<StoredScore>& rows) {
                         return scoresJson(rows, query.offset + 1);
                     })};
    } catch (const StoreError& error) {
        return storeUnavailable(error);
    }
}

Reply ScoreApi::rank(const ArgumentLookup& argument) {
    const auto error = [](int status, const char* message) {
        return Reply{status, "application/json; charset=utf-8",
                     std::string("{\"error\":\"") + message + "\"}"};
    };
    const char* game = argument("gamename");
    if (game == nullptr || !games_.contains(std::string_view(game))) return error(404, "unknown game");
    const char* category = argument("category");
    const char* device = argument("device");
    if (category == nullptr || *category == '\0' || device == nullptr || *device == '\0') {
        return error(400, "category and device are required");
    }
    const RankQuery query{game, category, device, periodStart(periodOf(argument("querytype")), clock_()),
                          verifiedOnly_};
    try {
        const std::optional<OwnRank> found = store_.rank(query);
        if (!found) return error(404, "no entry for this device");
        std::string json = "{\"rank\":" + std::to_string(found->rank) +
                           ",\"total\":" + std::to_string(found->total) + ",\"name\":";
        appendJSONString(json, found->name);
        json += ",\"score\":" + numberText(found->score) + "}";
        return Reply{200, "application/json; charset=utf-8", std::move(json)};
    } catch (const StoreError& failure) {
        std::fprintf(stderr, "store error: %s\n", failure.what());
        return error(503, "store unavailable");
    }
}

Reply ScoreApi::replay(const ArgumentLookup& argument) {
    // Only an id as the rankings give it: decimal digits, nothing before or after.
    const std::string_view text = argument("id") ? argument("id") : "";
    std::int64_t id = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (text.empty() || text.front() == '-' || problem != std::errc() || end != text.data() + text.size())
        return plainReply(400, "bad id");
    try {
        std::optional<std::string> bytes = store_.replay(id);
        if (!bytes) return plainReply(404, "no replay");
        Reply reply{200, std::string(kReplayMimeType), std::move(*bytes)};
        reply.headers.emplace_back("Content-Disposition",
                                   "attachment; filename=\"quintora-" + std::to_string(id) + ".qreplay\"");
        return reply;
    } catch (const StoreError& error) {
        return storeUnavailable(error);
    }
}

VerificationStats ScoreApi::verificationStats() {
    VerificationStats stats = verifiers_ ? verifiers_->stats() : VerificationStats{};
    try {
        stats.pending = store_.pendingCount();
    } catch (const StoreError& error) {
        std::fprintf(stderr, "store error: %s\n", error.what());
    }
    return stats;
}

}  // namespace quintora::server
