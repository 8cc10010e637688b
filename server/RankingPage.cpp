#include "server/RankingPage.hpp"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <span>

#include "online/GameKey.hpp"
#include "server/Html.hpp"
#include "server/Periods.hpp"
#include "server/Text.hpp"

namespace quintora::server {

// Built into the program: server/web/ranking.css, and the font and icon made from the game's (embed.py).
extern const std::string_view kRankingCss;
extern const std::string_view kPageFont;
extern const std::string_view kFavicon;

namespace {

constexpr int kMaxPage = kMaxOffset / kRowsPerPage + 1;
constexpr int kPageCacheSeconds = 15;
constexpr int kAssetCacheSeconds = 24 * 60 * 60;

// What the address asks for, every part checked; the page's own links are made from it.
struct View {
    std::string game;
    std::string category;
    int queryType = 4;
    int page = 1;

    [[nodiscard]] std::string link(std::string_view otherCategory, int otherQueryType, int otherPage) const {
        std::string url = "/?";
        if (game != kGameName) url += "game=" + escapeUrlComponent(game) + "&";
        url +=
            "category=" + escapeUrlComponent(otherCategory) + "&querytype=" + std::to_string(otherQueryType);
        if (otherPage > 1) url += "&page=" + std::to_string(otherPage);
        return escapeHtml(url);
    }
};

std::string timeText(double seconds) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.1f s", seconds);
    return buffer;
}

std::string ago(std::int64_t seconds) {
    const auto count = [](std::int64_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many) + " ago";
    };
    if (seconds < 60) return "just now";
    if (seconds < 60 * 60) return std::to_string(seconds / 60) + " min ago";
    if (seconds < kDay) return std::to_string(seconds / (60 * 60)) + " h ago";
    if (seconds < 60 * kDay) return count(seconds / kDay, "day", "days");
    if (seconds < 730 * kDay) return count(seconds / (30 * kDay), "month", "months");
    return count(seconds / (365 * kDay), "year", "years");
}

// The flag of a two-letter country code, made of regional indicator letters; empty for anything else.
std::string flag(std::string_view code) {
    if (code.size() != 2) return {};
    std::string out;
    for (const char c : code) {
        if (c < 'A' || c > 'Z') return {};
        appendCharacter(out, U'\U0001F1E6' + static_cast<char32_t>(c - 'A'));
    }
    return out;
}

void appendTabs(std::string& html, const View& view) {
    std::vector<std::string_view> tabs(kLevelCategories.begin(), kLevelCategories.end());
    // A category of another game, or one asked for by hand, gets a tab of its own while it is shown.
    if (std::find(tabs.begin(), tabs.end(), view.category) == tabs.end()) tabs.push_back(view.category);
    html += "<nav class=\"tabs\" aria-label=\"Level\">";
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        const bool current = tabs[i] == view.category;
        html += "<a class=\"tab tab-" + std::to_string(i) + "\" href=\"" +
                view.link(tabs[i], view.queryType, 1) + "\"" + (current ? " aria-current=\"page\"" : "") +
                ">" + escapeHtml(tabs[i]) + "</a>";
    }
    html += "</nav>\n<nav class=\"periods\" aria-label=\"Period\">";
    for (const Period& period : kPeriods) {
        const bool current = period.queryType == view.queryType;
        html += "<a class=\"period\" href=\"" + view.link(view.category, period.queryType, 1) + "\"" +
                (current ? " aria-current=\"page\"" : "") + ">" + std::string(period.label) + "</a>";
    }
    html += "</nav>\n";
}

void appendRows(std::string& html, std::span<const StoredScore> rows, int firstRank, std::int64_t now) {
    if (rows.empty()) {
        html += "<p class=\"empty\">No scores here yet. Play and post one!</p>\n";
        return;
    }
    html +=
        "<table class=\"ranking\">\n<thead><tr><th class=\"rank\">#</th><th class=\"name\">Name</th>"
        "<th class=\"time\">Time</th><th class=\"country\">Country</th><th "
        "class=\"when\">When</th></tr></thead>\n"
        "<tbody>\n";
    int rank = firstRank;
    for (const StoredScore& row : rows) {
        const std::string rankClass = rank <= 3 ? " top top-" + std::to_string(rank) : "";
        html += "<tr class=\"row" + rankClass + "\"><td class=\"rank\">" + std::to_string(rank++) +
                "</td><td class=\"name\">" + escapeHtml(row.name);
        if (row.verified) {
            const std::string id = std::to_string(row.id);
            html +=
                "<span class=\"verified\" role=\"img\" aria-label=\"verified run\" title=\"verified run\">"
                "\u2713</span><a class=\"replay\" href=\"/api/replay?id=" +
                id + "\" download=\"quintora-" + id +
                ".qreplay\" title=\"Download the replay of this run\">replay</a>";
        }
        html += "</td><td class=\"time\">" + timeText(row.score) + "</td><td class=\"country\">";
        if (const std::string mark = flag(row.country); !mark.empty()) {
            html += "<span class=\"flag\" aria-hidden=\"true\">" + mark + "</span> ";
        }
        html += escapeHtml(row.country) + "</td><td class=\"when\"><time datetime=\"" + isoDate(row.date) +
                "\" title=\"" + isoDate(row.date) + "\">" + ago(now - row.date) + "</time></td></tr>\n";
    }
    html += "</tbody>\n</table>\n";
}

void appendPaging(std::string& html, const View& view, bool hasNext) {
    if (view.page == 1 && !hasNext) return;
    html += "<nav class=\"pages\" aria-label=\"Pages\">";
    if (view.page > 1) {
        html += "<a rel=\"prev\" href=\"" + view.link(view.category, view.queryType, view.page - 1) +
                "\">&larr; Previous</a>";
    }
    html += "<span class=\"page\">Page " + std::to_string(view.page) + "</span>";
    if (hasNext) {
        html += "<a rel=\"next\" href=\"" + view.link(view.category, view.queryType, view.page + 1) +
                "\">Next &rarr;</a>";
    }
    html += "</nav>\n";
}

std::string document(const std::string& title, const std::string& heading, const std::string& content) {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
           title + "</title>\n<meta name=\"description\" content=\"The best times of " + heading +
           " players around the world: every level, today, this week, this month and of all time.\">\n"
           "<link rel=\"icon\" href=\"/favicon.ico\">\n"
           // Asked for at once rather than after the style sheet names it, so the text shows in it sooner.
           "<link rel=\"preload\" href=\"/marker.woff2\" as=\"font\" type=\"font/woff2\" crossorigin>\n"
           "<link rel=\"stylesheet\" href=\"/ranking.css\">\n</head>\n<body>\n<header><h1>" +
           heading + " <span class=\"subtitle\">world ranking</span></h1></header>\n<main>\n" + content +
           "</main>\n</body>\n</html>\n";
}

Reply htmlReply(int status, std::string body) {
    return Reply{status, "text/html; charset=utf-8", std::move(body), {}};
}

}  // namespace

RankingPage::RankingPage(CachingStore& store, GameKeys games, Clock clock, bool verifiedOnly)
    : store_(store), games_(std::move(games)), clock_(std::move(clock)), verifiedOnly_(verifiedOnly) {
    const std::pair<const char*, Reply> files[] = {
        {"/ranking.css", {200, "text/css; charset=utf-8", std::string(kRankingCss)}},
        {"/marker.woff2", {200, "font/woff2", std::string(kPageFont)}},
        {"/favicon.ico", {200, "image/x-icon", std::string(kFavicon)}},
        {"/robots.txt", {200, "text/plain; charset=utf-8", "User-agent: *\nAllow: /\n"}},
    };
    for (auto [path, reply] : files) {
        addCachingHeaders(reply, kAssetCacheSeconds);
        assets_.emplace(path, std::move(reply));
    }
}

const Reply* RankingPage::asset(std::string_view path) const {
    const auto found = assets_.find(path);
    return found == assets_.end() ? nullptr : &found->second;
}

Reply RankingPage::page(const ArgumentLookup& argument) {
    View view;
    const char* game = argument("game");
    view.game = game ? game : std::string(kGameName);
    if (!games_.contains(std::string_view(view.game))) {
        return htmlReply(404,
                         document("Unknown game", "Unknown game",
                                  "<p class=\"empty\">This server keeps no ranking for the game &ldquo;" +
                                      escapeHtml(view.game) + "&rdquo;.</p>\n"));
    }
    const char* category = argument("category");
    view.category = category && *category ? category : std::string(kLevelCategories.front());
    const Period& period = periodOf(argument("querytype"));
    view.queryType = period.queryType;
    view.page = wholeNumber(argument("page"), 1, 1, kMaxPage);

    ScoreQuery query;
    query.game = view.game;
    query.category = view.category;
    const std::int64_t now = clock_();
    query.since = periodStart(period, now);
    query.offset = (view.page - 1) * kRowsPerPage;
    query.limit = kRowsPerPage + 1;  // one more tells whether there is a next page
    query.verifiedOnly = verifiedOnly_;
    // Everything the page shows follows from the query and the second it is made in, so it is kept whole.
    const auto render = [&](const std::vector<StoredScore>& found) {
        const std::span<const StoredScore> rows(found.data(),
                                                std::min<std::size_t>(found.size(), kRowsPerPage));
        std::string content;
        appendTabs(content, view);
        appendRows(content, rows, query.offset + 1, now);
        appendPaging(content, view, found.size() > rows.size() && view.page < kMaxPage);
        const std::string title = escapeHtml(view.game) + " world ranking: " + escapeHtml(view.category) +
                                  ", " + std::string(period.label) +
                                  (view.page > 1 ? ", page " + std::to_string(view.page) : "");
        return document(title, escapeHtml(view.game), content);
    };
    try {
        Reply reply = htmlReply(200, store_.rendered(query, "html", render));
        addCachingHeaders(reply, kPageCacheSeconds);
        return reply;
    } catch (const StoreError& error) {
        std::fprintf(stderr, "store error: %s\n", error.what());
        return htmlReply(503, document("Ranking unavailable", escapeHtml(view.game),
                                       "<p class=\"empty\">The ranking cannot be read just now. Try again in "
                                       "a moment.</p>\n"));
    }
}

}  // namespace quintora::server
