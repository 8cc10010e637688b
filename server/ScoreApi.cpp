#include "server/ScoreApi.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>

#include "server/Text.hpp"

namespace quintora::server {

namespace {

constexpr std::int64_t kDay = 24 * 60 * 60;

Reply text(int status, std::string body) {
    return Reply{status, "text/plain; charset=utf-8", std::move(body)};
}

// A whole decimal number, or `fallback` when the text is missing or not one.
int integerArgument(const char* value, int fallback) {
    if (value == nullptr) return fallback;
    const std::string_view text(value);
    int result = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    return (text.empty() || error != std::errc() || end != text.data() + text.size()) ? fallback : result;
}

std::optional<std::int64_t> periodStart(int queryType, std::int64_t now) {
    switch (queryType) {
        case 1:
            return now - kDay;
        case 2:
            return now - 7 * kDay;
        case 3:
            return now - 30 * kDay;
        default:
            return std::nullopt;  // 4, and anything unknown: all time
    }
}

std::string scoresJson(const std::vector<StoredScore>& rows, int firstRank) {
    std::string json = "{\"scores\":[";
    int rank = firstRank;
    for (const StoredScore& row : rows) {
        if (rank != firstRank) json += ',';
        json += "{\"qs_playername\":";
        appendJsonString(json, row.name);
        json += ",\"qs_score\":" + numberText(row.score) + ",\"qs_country\":";
        appendJsonString(json, row.country);
        json += ",\"qs_category\":";
        appendJsonString(json, row.category);
        json += ",\"rank\":" + std::to_string(rank++) + ",\"date\":";
        appendJsonString(json, isoDate(row.date));
        json += '}';
    }
    json += "]}";
    return json;
}

// Every part of a query, escaped so that "&" ends each one; a filter that is not asked for is "-", one that
// is asked for starts with "+".
std::string cacheKey(const ScoreQuery& query) {
    const auto filter = [](const std::optional<std::string>& value) { return value ? "+" + *value : "-"; };
    std::string key;
    for (const std::string& part : {query.game, query.category, filter(query.device), filter(query.country),
                                    std::to_string(query.since.value_or(-1)), std::to_string(query.offset),
                                    std::to_string(query.limit)}) {
        key += encodeData(part);
        key += '&';
    }
    return key;
}

}  // namespace

ScoreApi::ScoreApi(ScoreStore& store, GameKeys games, int postsPerMinute, const CountryLookup& countries,
                   Clock clock)
    : store_(store),
      games_(std::move(games)),
      rateLimiter_(postsPerMinute, clock),
      countries_(countries),
      clock_(std::move(clock)) {}

std::string ScoreApi::countryOf(const Caller& caller) const {
    return countries_.countryOf(caller.address, caller.countryHeader);
}

Reply ScoreApi::post(std::string_view body, WriteMode mode, const Caller& caller) {
    if (!rateLimiter_.allow(caller.address)) return text(429, "too many posts");
    const std::optional<FormFields> fields = decodeForm(body);
    if (!fields) return text(400, "malformed form");
    auto checked = checkScore(*fields, games_);
    if (const auto* refusal = std::get_if<Refusal>(&checked)) return text(refusal->status, refusal->text);
    NewScore& score = std::get<NewScore>(checked);
    score.country = countryOf(caller);
    score.date = clock_();
    try {
        if (store_.isBanned(score.device)) return text(403, "device banned");
        store_.write(score, mode);
        pages_.invalidate();
    } catch (const StoreError& error) {
        std::fprintf(stderr, "store error: %s\n", error.what());
        return text(503, "store unavailable");
    }
    return text(200, "OK");
}

Reply ScoreApi::health() {
    try {
        store_.checkHealth();
        return text(200, "healthy");
    } catch (const StoreError& error) {
        std::fprintf(stderr, "store error: %s\n", error.what());
        return text(503, "store unavailable");
    }
}

Reply ScoreApi::scores(const ArgumentLookup& argument, const Caller& caller) {
    const char* game = argument("gamename");
    if (game == nullptr || !games_.contains(std::string_view(game))) return text(404, "unknown game");
    ScoreQuery query;
    query.game = game;
    const char* category = argument("category");
    query.category = category ? category : "";
    query.since = periodStart(integerArgument(argument("querytype"), kDefaultQueryType), clock_());
    const int flags = integerArgument(argument("flags"), 0);
    if ((flags & 2) != 0) {
        const char* device = argument("device");
        query.device = device ? device : "";
    }
    if ((flags & 1) != 0) query.country = countryOf(caller);
    query.offset = std::clamp(integerArgument(argument("offset"), 0), 0, kMaxOffset);
    query.limit = std::clamp(integerArgument(argument("limit"), kDefaultLimit), 1, kMaxLimit);
    const std::int64_t now = clock_();
    const std::string key = cacheKey(query);
    std::optional<std::string> page = pages_.find(key, now);
    try {
        if (!page) {
            const std::uint64_t generation = pages_.generation();
            page = scoresJson(store_.query(query), query.offset + 1);
            pages_.keep(key, now, generation, *page);
        }
        return Reply{200, "application/json; charset=utf-8", std::move(*page)};
    } catch (const StoreError& error) {
        std::fprintf(stderr, "store error: %s\n", error.what());
        return text(503, "store unavailable");
    }
}

}  // namespace quintora::server
