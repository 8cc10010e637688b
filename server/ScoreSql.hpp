#pragma once
// The SQL both stores run, written once: the schema and its upgrades, the writes and the ranking query.
// Only the spelling of a parameter and of the key column differ between SQLite and PostgreSQL.
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "server/GroupCommitter.hpp"
#include "server/ScoreStore.hpp"

namespace quintora::server {

enum class SqlDialect { Sqlite, Postgres };

// Bytes that are not text (a replay): a BLOB in SQLite, a BYTEA in PostgreSQL.
struct SqlBlob {
    std::string bytes;
};

using SqlValue = std::variant<std::int64_t, double, std::string, SqlBlob>;

struct SqlStatement {
    std::string text;
    std::vector<SqlValue> parameters;
};

// Brings the schema to the newest version, recorded in the table schema_version, inside the caller's
// transaction, which must hold off another server doing the same. `execute` runs a statement; `integer`
// gives the first column of a statement's only row. Throws StoreError for a schema newer than this server.
void upgradeSchema(SqlDialect dialect, const std::function<void(const std::string&)>& execute,
                   const std::function<std::int64_t(const std::string&)>& integer);

// The statements one write runs, in order, inside the batch's transaction.
[[nodiscard]] std::vector<SqlStatement> writeStatements(const NewScore& score, WriteMode mode,
                                                        SqlDialect dialect);

// Returns a row when it stored the score's signature, none when the signature was stored before.
[[nodiscard]] SqlStatement claimSignatureStatement(const NewScore& score, SqlDialect dialect);

// Runs each write of a batch inside the batch's transaction; `run` runs one statement and gives the number
// of rows it returned. A write whose signature was used before stores nothing and is marked so.
template <class Run>
void runWrites(std::span<PendingWrite* const> batch, SqlDialect dialect, Run run) {
    for (PendingWrite* pending : batch) {
        const NewScore& score = *pending->score;
        pending->signatureUsed =
            !score.signature.empty() && run(claimSignatureStatement(score, dialect)) == 0;
        if (pending->signatureUsed) continue;
        for (const SqlStatement& statement : writeStatements(score, pending->mode, dialect)) run(statement);
    }
}

// Selects id, category, name, score, country, device, date and verdict of one ranking page.
[[nodiscard]] SqlStatement rankingStatement(const ScoreQuery& query, SqlDialect dialect);

// Selects name, score, total and rank of a device's best entry: no row when it has none.
[[nodiscard]] SqlStatement rankStatement(const RankQuery& query, SqlDialect dialect);

// Moderation. The list selects the ranking's columns, then the game, 1 for a hidden entry (else 0) and the
// verdict's reason; it
// leaves the name filter, and then the limit, to the caller. A banned device's entries are moved to a table
// of their own, so that the ranking queries never look at bans. The changes return one row for each entry or
// ban they changed.
[[nodiscard]] SqlStatement listStatement(const ScoreFilter& filter, SqlDialect dialect);
[[nodiscard]] std::vector<SqlStatement> removeStatements(std::int64_t id, SqlDialect dialect);
[[nodiscard]] std::vector<SqlStatement> banStatements(const std::string& device, std::int64_t date,
                                                      SqlDialect dialect);
[[nodiscard]] std::vector<SqlStatement> unbanStatements(const std::string& device, SqlDialect dialect);
[[nodiscard]] SqlStatement bannedStatement(const std::string& device, SqlDialect dialect);

// Verification. The claim returns the claimed entry's id, category, score and replay in hexadecimal (no
// row when none waits); the verdict returns a row when it was stored; the replay statement selects a ranked
// entry's replay in hexadecimal.
[[nodiscard]] SqlStatement claimStatement(std::int64_t now, std::int64_t until, std::int64_t claim,
                                          SqlDialect dialect);
[[nodiscard]] std::vector<SqlStatement> verdictStatements(const ClaimedReplay& claimed, Verdict verdict,
                                                          const std::string& reason, SqlDialect dialect);
[[nodiscard]] SqlStatement releaseStatement(const ClaimedReplay& claimed, SqlDialect dialect);
[[nodiscard]] SqlStatement replayStatement(std::int64_t id, SqlDialect dialect);
[[nodiscard]] SqlStatement pendingStatement();

}  // namespace quintora::server
