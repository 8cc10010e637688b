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
        static const char* const casts[] = {"::bigint", "::double precision", "::text", "::bytea"};
        return "$" + number + casts[values_.back().index()];
    }
    std::vector<SqlValue> take() { return std::move(values_); }

  private:
    SqlDialect dialect_;
    std::vector<SqlValue> values_;
};

}  // namespace

namespace {

const std::string kRejected(kRejectedVerdictsSql);

// The replay of a row as hexadecimal text, which both stores give back alike.
std::string replayHex(SqlDialect dialect) {
    return dialect == SqlDialect::Sqlite ? "hex(replay)" : "encode(replay, 'hex')";
}

// An index of the verified entries in ranking order after `columns`. It holds the verdict too, although
// every entry in it is verified: SQLite reads a column its query names from the index or from the table.
std::string verifiedIndex(const char* name, const char* columns) {
    return std::string("CREATE INDEX ") + name + " ON scores (" + columns +
           ", score DESC, date, id, verdict) WHERE verdict = 'verified'";
}

// The statements that bring the schema from version i to i + 1, for each i from 0.
std::vector<std::vector<std::string>> schemaUpgrades(SqlDialect dialect) {
    const std::string key =
        dialect == SqlDialect::Sqlite ? "id INTEGER PRIMARY KEY" : "id BIGSERIAL PRIMARY KEY";
    const std::string blob = dialect == SqlDialect::Sqlite ? "BLOB" : "BYTEA";
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
            // Every signature a stored score carried, so that a captured post cannot be stored again. Per
            // game: the game's name is not signed, and two games may share a key.
            "CREATE TABLE used_signatures (game TEXT NOT NULL, signature TEXT NOT NULL, PRIMARY KEY (game, "
            "signature))",
        },
        {
            // Entries stored before replays existed were posted without one. The replay comes last, so
            // that reading the columns before it never walks its overflow pages.
            "ALTER TABLE scores ADD COLUMN verdict TEXT NOT NULL DEFAULT 'none'",
            "ALTER TABLE scores ADD COLUMN reason TEXT NOT NULL DEFAULT ''",
            "ALTER TABLE scores ADD COLUMN claimed_until BIGINT NOT NULL DEFAULT 0",
            "ALTER TABLE scores ADD COLUMN claim BIGINT NOT NULL DEFAULT 0",
            "ALTER TABLE scores ADD COLUMN replay " + blob,
            "ALTER TABLE hidden_scores ADD COLUMN verdict TEXT NOT NULL DEFAULT 'none'",
            "ALTER TABLE hidden_scores ADD COLUMN reason TEXT NOT NULL DEFAULT ''",
            "ALTER TABLE hidden_scores ADD COLUMN replay " + blob,
            // The queue, and the entries about to be hidden, are a handful of rows among many.
            "CREATE INDEX scores_pending ON scores (id) WHERE verdict = 'pending'",
            "CREATE INDEX scores_rejected ON scores (id) WHERE verdict IN " + kRejected,
            // The rankings of verified runs only walk indexes of their own, as the others do.
            verifiedIndex("verified_by_category", "game, category"),
            verifiedIndex("verified_by_game", "game"),
            verifiedIndex("verified_by_device", "game, device"),
        },
    };
}

}  // namespace

void upgradeSchema(SqlDialect dialect, const std::function<void(const std::string&)>& execute,
                   const std::function<std::int64_t(const std::string&)>& integer) {
    execute("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
    const auto upgrades = schemaUpgrades(dialect);
    const auto version =
        static_cast<std::size_t>(integer("SELECT coalesce(max(version), 0) FROM schema_version"));
    if (version > upgrades.size()) {
        throw StoreError("the database has schema version " + std::to_string(version) +
                         ", newer than this server knows (" + std::to_string(upgrades.size()) + ")");
    }
    if (version == upgrades.size()) return;
    for (std::size_t step = version; step < upgrades.size(); ++step) {
        for (const std::string& statement : upgrades[step]) execute(statement);
    }
    execute("INSERT INTO schema_version (version) VALUES (" + std::to_string(upgrades.size()) + ")");
}

namespace {

// A posted replay as a parameter, or NULL for none.
std::string replayParameter(Parameters& parameters, const NewScore& score) {
    return score.replay.empty() ? std::string("NULL") : parameters.add(SqlBlob{score.replay});
}

std::vector<SqlStatement> moveStatements(const std::string& condition, const std::vector<SqlValue>& values,
                                         const char* from, const char* to);

// Moves the entries whose verdict refused them out of the rankings.
std::vector<SqlStatement> hideRejectedStatements() {
    return moveStatements("verdict IN " + kRejected, {}, "scores", "hidden_scores");
}

}  // namespace

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
    const std::string verdict(nameOf(score.verdict));
    Parameters insert(dialect);
    // SQLite gives a new row the largest id in its table plus one, which may be the id of a hidden entry;
    // ids stay unique across both tables when it is chosen here. PostgreSQL's sequence never reuses one.
    const std::string id = dialect == SqlDialect::Sqlite
                               ? "1 + max(coalesce((SELECT max(id) FROM scores), 0), "
                                 "coalesce((SELECT max(id) FROM hidden_scores), 0)), "
                               : "";
    std::string text = std::string("INSERT INTO scores (") + (id.empty() ? "" : "id, ") +
                       "game, category, name, score, country, device, date, extra, verdict, reason, replay) "
                       "SELECT " +
                       id + insert.add(score.game) + ", " + insert.add(score.category) + ", " +
                       insert.add(score.name) + ", " + insert.add(score.score) + ", " +
                       insert.add(score.country) + ", " + insert.add(score.device) + ", " +
                       insert.add(score.date) + ", " + insert.add(score.extra) + ", " + insert.add(verdict) +
                       ", " + insert.add(score.reason) + ", " + replayParameter(insert, score);
    if (mode == WriteMode::KeepBest) {
        text += " WHERE NOT EXISTS (SELECT 1 FROM scores WHERE game = " + insert.add(score.game) +
                " AND category = " + insert.add(score.category) +
                " AND device = " + insert.add(score.device) + " AND name = " + insert.add(score.name) + ")";
    }
    statements.push_back({text, insert.take()});
    if (mode == WriteMode::KeepBest) {
        // The entry is there now, either from before or just inserted: a longer time replaces it, replay
        // and verdict included, and a claim on the replay it had ends. An equal time keeps the older entry,
        // which ranks first.
        Parameters update(dialect);
        const std::string newScore = update.add(score.score);
        std::string updateText =
            "UPDATE scores SET score = " + newScore + ", country = " + update.add(score.country) +
            ", date = " + update.add(score.date) + ", extra = " + update.add(score.extra) +
            ", verdict = " + update.add(verdict) + ", reason = " + update.add(score.reason) +
            ", replay = " + replayParameter(update, score) + ", claimed_until = 0, claim = 0 WHERE score < " +
            newScore + " AND id = (SELECT id FROM scores WHERE game = " + update.add(score.game) +
            " AND category = " + update.add(score.category) + " AND device = " + update.add(score.device) +
            " AND name = " + update.add(score.name) + " ORDER BY score DESC, date, id LIMIT 1)";
        statements.push_back({updateText, update.take()});
    }
    if (isRejected(score.verdict)) {
        for (SqlStatement& hide : hideRejectedStatements()) statements.push_back(std::move(hide));
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
    // Spelled as the verified indexes' condition, so that the database sees they hold every row asked for.
    if (query.verifiedOnly) filter += " AND verdict = 'verified'";
    const std::string order = " ORDER BY score DESC, date, id";
    // The page's ids come from the index alone, so skipping up to the offset never reads a table row.
    std::string text =
        "SELECT id, category, name, score, country, device, date, verdict FROM scores WHERE id IN (SELECT id "
        "FROM "
        "scores WHERE " +
        filter + order + " LIMIT " + parameters.add(std::int64_t{query.limit}) + " OFFSET " +
        parameters.add(std::int64_t{query.offset}) + ")" + order;
    return {text, parameters.take()};
}

SqlStatement rankStatement(const RankQuery& query, SqlDialect dialect) {
    Parameters parameters(dialect);
    const auto period = [&](const char* table) {
        std::string condition =
            query.since ? std::string(" AND ") + table + ".date >= " + parameters.add(*query.since) : "";
        if (query.verifiedOnly) condition += std::string(" AND ") + table + ".verdict = 'verified'";
        return condition;
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
        std::string text =
            std::string("SELECT id, category, name, score, country, device, date, verdict, game, ") + hidden +
            ", reason FROM " + table + " WHERE 1 = 1";
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

// Moves the entries that meet `condition` (with its parameters `values`) from one table to the other, ids
// and all.
std::vector<SqlStatement> moveStatements(const std::string& condition, const std::vector<SqlValue>& values,
                                         const char* from, const char* to) {
    static const std::string columns =
        "id, game, category, name, score, country, device, date, extra, verdict, reason, replay";
    return {{std::string("INSERT INTO ") + to + " (" + columns + ") SELECT " + columns + " FROM " + from +
                 " WHERE " + condition,
             values},
            {std::string("DELETE FROM ") + from + " WHERE " + condition, values}};
}

}  // namespace

std::vector<SqlStatement> banStatements(const std::string& device, std::int64_t date, SqlDialect dialect) {
    Parameters parameters(dialect);
    std::string text = "INSERT INTO banned_devices (device, date) VALUES (" + parameters.add(device) + ", " +
                       parameters.add(date) + ") ON CONFLICT (device) DO NOTHING RETURNING device";
    std::vector<SqlStatement> statements{{text, parameters.take()}};
    // Run again on a device already banned, this also hides a post that was under way during the ban.
    Parameters move(dialect);
    const std::string condition = "device = " + move.add(device);
    for (SqlStatement& statement : moveStatements(condition, move.take(), "scores", "hidden_scores")) {
        statements.push_back(std::move(statement));
    }
    return statements;
}

std::vector<SqlStatement> unbanStatements(const std::string& device, SqlDialect dialect) {
    Parameters parameters(dialect);
    std::string text =
        "DELETE FROM banned_devices WHERE device = " + parameters.add(device) + " RETURNING device";
    std::vector<SqlStatement> statements{{text, parameters.take()}};
    // An entry its verdict refused stays hidden.
    Parameters move(dialect);
    const std::string condition = "device = " + move.add(device) + " AND verdict NOT IN " + kRejected;
    for (SqlStatement& statement : moveStatements(condition, move.take(), "hidden_scores", "scores")) {
        statements.push_back(std::move(statement));
    }
    return statements;
}

SqlStatement bannedStatement(const std::string& device, SqlDialect dialect) {
    Parameters parameters(dialect);
    std::string text = "SELECT device FROM banned_devices WHERE device = " + parameters.add(device);
    return {text, parameters.take()};
}

SqlStatement claimStatement(std::int64_t now, std::int64_t until, std::int64_t claim, SqlDialect dialect) {
    Parameters parameters(dialect);
    const std::string free = " AND claimed_until < " + parameters.add(now);
    // Servers sharing a PostgreSQL database may pick the same entry: the first takes it and the others'
    // checks of the claim, made again once its commit is through, find it taken and return nothing.
    std::string text =
        "UPDATE scores SET claimed_until = " + parameters.add(until) + ", claim = " + parameters.add(claim) +
        " WHERE id = (SELECT id FROM scores WHERE verdict = 'pending'" + free + " ORDER BY id LIMIT 1" +
        (dialect == SqlDialect::Postgres ? " FOR UPDATE SKIP LOCKED" : "") + ") AND verdict = 'pending'" +
        free + " RETURNING id, category, score, " + replayHex(dialect);
    return {text, parameters.take()};
}

std::vector<SqlStatement> verdictStatements(const ClaimedReplay& claimed, Verdict verdict,
                                            const std::string& reason, SqlDialect dialect) {
    Parameters parameters(dialect);
    std::string text =
        "UPDATE scores SET verdict = " + parameters.add(std::string(nameOf(verdict))) +
        ", reason = " + parameters.add(reason) +
        ", claimed_until = 0 WHERE verdict = 'pending' AND id = " + parameters.add(claimed.id) +
        " AND claim = " + parameters.add(claimed.claim) + " RETURNING id";
    std::vector<SqlStatement> statements{{text, parameters.take()}};
    if (isRejected(verdict)) {
        for (SqlStatement& hide : hideRejectedStatements()) statements.push_back(std::move(hide));
    }
    return statements;
}

SqlStatement releaseStatement(const ClaimedReplay& claimed, SqlDialect dialect) {
    Parameters parameters(dialect);
    std::string text = "UPDATE scores SET claimed_until = 0 WHERE id = " + parameters.add(claimed.id) +
                       " AND claim = " + parameters.add(claimed.claim);
    return {text, parameters.take()};
}

SqlStatement replayStatement(std::int64_t id, SqlDialect dialect) {
    Parameters parameters(dialect);
    std::string text = "SELECT " + replayHex(dialect) +
                       " FROM scores WHERE replay IS NOT NULL AND id = " + parameters.add(id);
    return {text, parameters.take()};
}

SqlStatement pendingStatement() { return {"SELECT count(*) FROM scores WHERE verdict = 'pending'", {}}; }

}  // namespace quintora::server
