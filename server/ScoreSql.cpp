#include "server/ScoreSql.hpp"

namespace quintora::server {

namespace {

// Collects parameters and names each one as the dialect spells it.
class Parameters {
  public:
    explicit Parameters(SqlDialect dialect) : dialect_(dialect) {}

    std::string add(SqlValue value) {
        values_.push_back(std::move(value));
        const std::string number = std::to_string(values_.size());
        if (dialect_ == SqlDialect::Sqlite) return "?" + number;
        // PostgreSQL receives every parameter as text and cannot always infer its type (in a SELECT list).
        static const char* const casts[] = {"::bigint", "::double precision", "::text"};
        return "$" + number + casts[values_.back().index()];
    }
    std::vector<SqlValue> take() { return std::move(values_); }

  private:
    SqlDialect dialect_;
    std::vector<SqlValue> values_;
};

}  // namespace

std::vector<std::vector<std::string>> schemaUpgrades(SqlDialect dialect) {
    const std::string key =
        dialect == SqlDialect::Sqlite ? "id INTEGER PRIMARY KEY" : "id BIGSERIAL PRIMARY KEY";
    return {
        {
            "CREATE TABLE scores (" + key +
                ", game TEXT NOT NULL, category TEXT NOT NULL, name TEXT NOT NULL,"
                " score DOUBLE PRECISION NOT NULL, country TEXT NOT NULL, device TEXT NOT NULL,"
                " date BIGINT NOT NULL, extra TEXT NOT NULL)",
            // A ranking page walks one of these in order and stops after offset + limit rows.
            "CREATE INDEX scores_by_category ON scores (game, category, score DESC, date, id)",
            "CREATE INDEX scores_by_game ON scores (game, score DESC, date, id)",
            "CREATE INDEX scores_by_device ON scores (game, device, score DESC, date, id)",
            "CREATE INDEX scores_by_entry ON scores (game, category, device, name, score DESC)",
        },
        {
            "CREATE TABLE banned_devices (device TEXT PRIMARY KEY, date BIGINT NOT NULL)",
            // A banned device's entries wait here, out of every ranking query, until it is unbanned.
            "CREATE TABLE hidden_scores (id BIGINT PRIMARY KEY, game TEXT NOT NULL, category TEXT NOT NULL,"
            " name TEXT NOT NULL, score DOUBLE PRECISION NOT NULL, country TEXT NOT NULL, device TEXT NOT "
            "NULL,"
            " date BIGINT NOT NULL, extra TEXT NOT NULL)",
            "CREATE INDEX hidden_scores_by_device ON hidden_scores (device)",
        },
        {
            // Every signature a stored score carried, so that a captured post cannot be stored again. Kept
            // per game: games signed with one key do not take each other's signatures away.
            "CREATE TABLE used_signatures (game TEXT NOT NULL, signature TEXT NOT NULL,"
            " PRIMARY KEY (game, signature))",
        },
    };
}

std::vector<SqlStatement> writeStatements(const NewScore& score, WriteMode mode, SqlDialect dialect) {
    std::vector<SqlStatement> statements;
    if (mode == WriteMode::KeepBest && dialect == SqlDialect::Postgres) {
        // Servers sharing the database could each find no entry and each insert one: the second waits
        // here for the first's commit and then finds it. (A single SQLite writer needs no such lock.)
        Parameters lock(dialect);
        std::string text = "SELECT pg_advisory_xact_lock(hashtextextended(" + lock.add(score.game) +
                           " || chr(1) || " + lock.add(score.category) + " || chr(1) || " +
                           lock.add(score.device) + " || chr(1) || " + lock.add(score.name) + ", 0))";
        statements.push_back({text, lock.take()});
    }
    Parameters insert(dialect);
    // SQLite gives a new row the largest id in its table plus one, which may be the id of a hidden entry;
    // ids stay unique across both tables when it is chosen here. PostgreSQL's sequence never reuses one.
    const std::string id = dialect == SqlDialect::Sqlite
                               ? "1 + max(coalesce((SELECT max(id) FROM scores), 0), "
                                 "coalesce((SELECT max(id) FROM hidden_scores), 0)), "
                               : "";
    std::string text = std::string("INSERT INTO scores (") + (id.empty() ? "" : "id, ") +
                       "game, category, name, score, country, device, date, extra) SELECT " + id +
                       insert.add(score.game) + ", " + insert.add(score.category) + ", " +
                       insert.add(score.name) + ", " + insert.add(score.score) + ", " +
                       insert.add(score.country) + ", " + insert.add(score.device) + ", " +
                       insert.add(score.date) + ", " + insert.add(score.extra);
    if (mode == WriteMode::KeepBest) {
        text += " WHERE NOT EXISTS (SELECT 1 FROM scores WHERE game = " + insert.add(score.game) +
                " AND category = " + insert.add(score.category) +
                " AND device = " + insert.add(score.device) + " AND name = " + insert.add(score.name) + ")";
    }
    statements.push_back({text, insert.take()});
    if (mode == WriteMode::KeepBest) {
        // The entry is there now, either from before or just inserted: a longer time replaces it. An equal
        // time keeps the older entry, which ranks first.
        Parameters update(dialect);
        const std::string newScore = update.add(score.score);
        std::string updateText =
            "UPDATE scores SET score = " + newScore + ", country = " + update.add(score.country) +
            ", date = " + update.add(score.date) + ", extra = " + update.add(score.extra) +
            " WHERE score < " + newScore +
            " AND id = (SELECT id FROM scores WHERE game = " + update.add(score.game) +
            " AND category = " + update.add(score.category) + " AND device = " + update.add(score.device) +
            " AND name = " + update.add(score.name) + " ORDER BY score DESC, date, id LIMIT 1)";
        statements.push_back({updateText, update.take()});
    }
    return statements;
}

SqlStatement claimSignatureStatement(const NewScore& score, SqlDialect dialect) {
    Parameters parameters(dialect);
    std::string text = "INSERT INTO used_signatures (game, signature) VALUES (" + parameters.add(score.game) +
                       ", " + parameters.add(score.signature) +
                       ") ON CONFLICT (game, signature) DO NOTHING RETURNING signature";
    return {text, parameters.take()};
}

SqlStatement rankingStatement(const ScoreQuery& query, SqlDialect dialect) {
    Parameters parameters(dialect);
    std::string filter = "game = " + parameters.add(query.game);
    if (!query.category.empty()) filter += " AND category = " + parameters.add(query.category);
    if (query.device) filter += " AND device = " + parameters.add(*query.device);
    if (query.country) filter += " AND country = " + parameters.add(*query.country);
    if (query.since) filter += " AND date >= " + parameters.add(*query.since);
    const std::string order = " ORDER BY score DESC, date, id";
    // The page's ids come from the index alone, so skipping up to the offset never reads a table row.
    std::string text =
        "SELECT id, category, name, score, country, device, date FROM scores WHERE id IN (SELECT id FROM "
        "scores WHERE " +
        filter + order + " LIMIT " + parameters.add(std::int64_t{query.limit}) + " OFFSET " +
        parameters.add(std::int64_t{query.offset}) + ")" + order;
    return {text, parameters.take()};
}

SqlStatement rankStatement(const RankQuery& query, SqlDialect dialect) {
    Parameters parameters(dialect);
    const auto period = [&](const char* table) {
        return query.since ? std::string(" AND ") + table + ".date >= " + parameters.add(*query.since)
                           : std::string();
    };
    // Both counts walk the level's index only: the total all of it, the places ahead from its top down to
    // the entry's time (equal times ahead when earlier, or stored first).
    const std::string level = "s.game = e.game AND s.category = e.category";
    std::string text =
        "SELECT e.name, e.score, (SELECT count(*) FROM scores s WHERE " + level + period("s") +
        "), 1 + (SELECT count(*) FROM scores s WHERE " + level + period("s") +
        " AND s.score >= e.score AND (s.score > e.score OR s.date < e.date OR (s.date = e.date AND "
        "s.id < e.id))) FROM (SELECT id, game, category, name, score, date FROM scores WHERE game = ";
    text += parameters.add(query.game) + " AND category = " + parameters.add(query.category) +
            " AND device = " + parameters.add(query.device) + period("scores") +
            " ORDER BY score DESC, date, id LIMIT 1) e";
    return {text, parameters.take()};
}

SqlStatement listStatement(const ScoreFilter& filter, SqlDialect dialect) {
    Parameters parameters(dialect);
    const auto select = [&](const char* table, const char* hidden) {
        std::string text = std::string("SELECT id, category, name, score, country, device, date, game, ") +
                           hidden + " FROM " + table + " WHERE 1 = 1";
        if (!filter.game.empty()) text += " AND game = " + parameters.add(filter.game);
        if (!filter.category.empty()) text += " AND category = " + parameters.add(filter.category);
        if (!filter.device.empty()) text += " AND device = " + parameters.add(filter.device);
        return text;
    };
    std::string text = select("scores", "0") + " UNION ALL " + select("hidden_scores", "1");
    text += " ORDER BY game, category, score DESC, date, id";
    // Neither database folds case the Unicode way (SQLite's lower() knows ASCII only): a name filter is
    // applied by the caller, and the limit after it.
    if (filter.nameContains.empty()) text += " LIMIT " + parameters.add(std::int64_t{filter.limit});
    return {text, parameters.take()};
}

std::vector<SqlStatement> removeStatements(std::int64_t id, SqlDialect dialect) {
    std::vector<SqlStatement> statements;
    for (const char* table : {"scores", "hidden_scores"}) {
        Parameters parameters(dialect);
        std::string text =
            std::string("DELETE FROM ") + table + " WHERE id = " + parameters.add(id) + " RETURNING id";
        statements.push_back({text, parameters.take()});
    }
    return statements;
}

namespace {

// Moves a device's entries from one table to the other, ids and all.
std::vector<SqlStatement> moveStatements(const std::string& device, const char* from, const char* to,
                                         SqlDialect dialect) {
    static const std::string columns = "id, game, category, name, score, country, device, date, extra";
    Parameters copy(dialect);
    std::string copyText = std::string("INSERT INTO ") + to + " (" + columns + ") SELECT " + columns +
                           " FROM " + from + " WHERE device = " + copy.add(device);
    Parameters remove(dialect);
    std::string removeText = std::string("DELETE FROM ") + from + " WHERE device = " + remove.add(device);
    return {{copyText, copy.take()}, {removeText, remove.take()}};
}

}  // namespace

std::vector<SqlStatement> banStatements(const std::string& device, std::int64_t date, SqlDialect dialect) {
    Parameters parameters(dialect);
    std::string text = "INSERT INTO banned_devices (device, date) VALUES (" + parameters.add(device) + ", " +
                       parameters.add(date) + ") ON CONFLICT (device) DO NOTHING RETURNING device";
    std::vector<SqlStatement> statements{{text, parameters.take()}};
    // Run again on a device already banned, this also hides a post that was under way during the ban.
    for (SqlStatement& move : moveStatements(device, "scores", "hidden_scores", dialect)) {
        statements.push_back(std::move(move));
    }
    return statements;
}

std::vector<SqlStatement> unbanStatements(const std::string& device, SqlDialect dialect) {
    Parameters parameters(dialect);
    std::string text =
        "DELETE FROM banned_devices WHERE device = " + parameters.add(device) + " RETURNING device";
    std::vector<SqlStatement> statements{{text, parameters.take()}};
    for (SqlStatement& move : moveStatements(device, "hidden_scores", "scores", dialect)) {
        statements.push_back(std::move(move));
    }
    return statements;
}

SqlStatement bannedStatement(const std::string& device, SqlDialect dialect) {
    Parameters parameters(dialect);
    std::string text = "SELECT device FROM banned_devices WHERE device = " + parameters.add(device);
    return {text, parameters.take()};
}

}  // namespace quintora::server
