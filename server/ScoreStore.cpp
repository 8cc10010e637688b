#include "server/ScoreStore.hpp"

#include <cstdlib>
#include <filesystem>
#include <random>

#include "server/PostgresStore.hpp"
#include "server/ScoreSql.hpp"
#include "server/SqliteStore.hpp"
#include "server/Text.hpp"

namespace quintora::server {

std::unique_ptr<ScoreStore> openStore(const std::string& url, StoreUse use) {
    constexpr std::string_view sqlitePrefix = "sqlite:";
    if (url.starts_with(sqlitePrefix)) {
        const std::filesystem::path path = url.substr(sqlitePrefix.size());
        if (path.empty()) throw StoreError("no file given in '" + url + "'");
        std::error_code error;
        if (use == StoreUse::Moderate && !std::filesystem::is_regular_file(path, error)) {
            throw StoreError("no score database at " + path.string() +
                             " (a server creates it when it starts)");
        }
        if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
        if (error) throw StoreError("cannot create " + path.parent_path().string() + ": " + error.message());
        return openSqliteStore(path);
    }
    if (url.starts_with("postgresql://") || url.starts_with("postgres://")) return openPostgresStore(url);
    throw StoreError("unknown store '" + url + "': expected sqlite:PATH or postgresql://...");
}

namespace {

// A row of the ranking's columns: id, category, name, score, country, device, date, verdict.
StoredScore scoreOf(const std::vector<std::string>& row) {
    const auto integer = [&](int column) { return std::strtoll(row.at(column).c_str(), nullptr, 10); };
    return {integer(0), row.at(1), row.at(2),  std::strtod(row.at(3).c_str(), nullptr),
            row.at(4),  row.at(5), integer(6), row.at(7) == nameOf(Verdict::Verified)};
}

// The bytes of hexadecimal text as both stores give it (upper or lower case).
std::string bytesOfHex(const std::string& hex) {
    const auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    std::string bytes(hex.size() / 2, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(digit(hex[2 * i]) << 4 | digit(hex[2 * i + 1]));
    return bytes;
}

}  // namespace

std::vector<StoredScore> ScoreStore::query(const ScoreQuery& query) {
    std::vector<StoredScore> scores;
    for (const TextRow& row : read(rankingStatement(query, dialect()))) scores.push_back(scoreOf(row));
    return scores;
}

std::optional<OwnRank> ScoreStore::rank(const RankQuery& query) {
    const std::vector<TextRow> rows = read(rankStatement(query, dialect()));
    if (rows.empty()) return std::nullopt;
    const TextRow& row = rows.front();
    return OwnRank{std::strtoll(row.at(3).c_str(), nullptr, 10), std::strtoll(row.at(2).c_str(), nullptr, 10),
                   row.at(0), std::strtod(row.at(1).c_str(), nullptr)};
}

std::vector<ListedScore> ScoreStore::list(const ScoreFilter& filter) {
    std::vector<ListedScore> scores;
    const std::string part = foldCase(filter.nameContains);
    for (const TextRow& row : runTransaction({listStatement(filter, dialect())})) {
        if (scores.size() == static_cast<std::size_t>(filter.limit)) break;
        if (!part.empty() && foldCase(row.at(2)).find(part) == std::string::npos) continue;
        scores.push_back({scoreOf(row), row.at(8), row.at(9) != "0",
                          verdictNamed(row.at(7)).value_or(Verdict::Invalid), row.at(10)});
    }
    return scores;
}

std::vector<std::int64_t> ScoreStore::remove(const std::vector<std::int64_t>& ids) {
    std::vector<SqlStatement> statements;
    for (const std::int64_t id : ids) {
        for (SqlStatement& statement : removeStatements(id, dialect()))
            statements.push_back(std::move(statement));
    }
    std::vector<std::int64_t> removed;
    for (const TextRow& row : runTransaction(statements))
        removed.push_back(std::strtoll(row.at(0).c_str(), nullptr, 10));
    return removed;
}

bool ScoreStore::banDevice(const std::string& device, std::int64_t date) {
    return !runTransaction(banStatements(device, date, dialect())).empty();
}

bool ScoreStore::unbanDevice(const std::string& device) {
    return !runTransaction(unbanStatements(device, dialect())).empty();
}

void ScoreStore::checkHealth() {
    // Reads a table rather than a constant, so that the store's file or server is really asked.
    runTransaction({{"SELECT max(version) FROM schema_version", {}}});
}

std::vector<std::string> ScoreStore::integrityProblems() {
    if (dialect() != SqlDialect::Sqlite) {
        throw StoreError("PostgreSQL checks its own pages; use pg_amcheck on the database");
    }
    std::vector<std::string> problems;
    try {
        for (const TextRow& row : runTransaction({{"PRAGMA integrity_check", {}}})) {
            if (row.size() == 1 && row.front() != "ok") problems.push_back(row.front());
        }
    } catch (const StoreError& error) {
        // Damage bad enough to stop the check itself is the finding.
        problems.emplace_back(error.what());
    }
    return problems;
}

bool ScoreStore::isBanned(const std::string& device) {
    return !runTransaction({bannedStatement(device, dialect())}).empty();
}

std::optional<ClaimedReplay> ScoreStore::claimReplay(std::int64_t now, std::int64_t leaseSeconds) {
    // Random, so that a claim of one server cannot be taken for another's made in the same second.
    thread_local std::mt19937_64 random{std::random_device{}()};
    const auto claim = static_cast<std::int64_t>(random() >> 1);
    const std::vector<TextRow> rows =
        runTransaction({claimStatement(now, now + leaseSeconds, claim, dialect())});
    if (rows.empty()) return std::nullopt;
    const TextRow& row = rows.front();
    return ClaimedReplay{std::strtoll(row.at(0).c_str(), nullptr, 10), row.at(1),
                         std::strtod(row.at(2).c_str(), nullptr), claim, bytesOfHex(row.at(3))};
}

bool ScoreStore::recordVerdict(const ClaimedReplay& claimed, Verdict verdict, const std::string& reason) {
    return !runTransaction(verdictStatements(claimed, verdict, reason, dialect())).empty();
}

void ScoreStore::releaseClaim(const ClaimedReplay& claimed) {
    runTransaction({releaseStatement(claimed, dialect())});
}

std::optional<std::string> ScoreStore::replay(std::int64_t id) {
    const std::vector<TextRow> rows = read(replayStatement(id, dialect()));
    if (rows.empty()) return std::nullopt;
    return bytesOfHex(rows.front().at(0));
}

std::int64_t ScoreStore::pendingCount() {
    return std::strtoll(read(pendingStatement()).at(0).at(0).c_str(), nullptr, 10);
}

}  // namespace quintora::server
