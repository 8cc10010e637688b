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
    };
}

std::vector<SqlStatement> writeStatements(const NewScore& score, WriteMode mode, SqlDialect dialect) {
    std::vector<SqlStatement> statements;
    Parameters insert(dialect);
    std::string text =
        "INSERT INTO scores (game, category, name, score, country, device, date, extra) SELECT " +
        insert.add(score.game) + ", " + insert.add(score.category) + ", " + insert.add(score.name) + ", " +
        insert.add(score.score) + ", " + insert.add(score.country) + ", " + insert.add(score.device) + ", " +
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

}  // namespace quintora::server
