#pragma once
// The SQL both stores run, written once: the schema and its upgrades, the writes and the ranking query.
// Only the spelling of a parameter and of the key column differ between SQLite and PostgreSQL.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "server/ScoreStore.hpp"

namespace quintora::server {

enum class SqlDialect { Sqlite, Postgres };

using SqlValue = std::variant<std::int64_t, double, std::string>;

struct SqlStatement {
    std::string text;
    std::vector<SqlValue> parameters;
};

// The statements that bring the schema from version i to i + 1, for each i from 0. The server records the
// version it reached in the table schema_version.
[[nodiscard]] std::vector<std::vector<std::string>> schemaUpgrades(SqlDialect dialect);

// The statements one write runs, in order, inside the batch's transaction.
[[nodiscard]] std::vector<SqlStatement> writeStatements(const NewScore& score, WriteMode mode,
                                                        SqlDialect dialect);

// Selects id, category, name, score, country, device, date of one ranking page.
[[nodiscard]] SqlStatement rankingStatement(const ScoreQuery& query, SqlDialect dialect);

}  // namespace quintora::server
