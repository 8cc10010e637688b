#include "server/PostgresStore.hpp"

#include <libpq-fe.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "server/ConnectionPool.hpp"
#include "server/GroupCommitter.hpp"
#include "server/ScoreSql.hpp"
#include "server/Text.hpp"
#include "server/Transaction.hpp"

namespace quintora::server {

namespace {

// Several servers share one database, whose connection limit is 100 by default.
constexpr std::size_t kMaxReaders = 16;

// An arbitrary key that nothing but the schema upgrade locks.
constexpr std::int64_t kSchemaLock = 5'1417'1029;

using ResultPointer = std::unique_ptr<PGresult, decltype(&PQclear)>;

std::string parameterText(const SqlValue& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) return std::to_string(*integer);
    if (const auto* real = std::get_if<double>(&value)) return numberText(*real);
    if (const auto* blob = std::get_if<SqlBlob>(&value)) {
        // BYTEA's hexadecimal input form.
        std::string text = "\\x";
        for (const char byte : blob->bytes) {
            static constexpr char digits[] = "0123456789abcdef";
            text += digits[static_cast<unsigned char>(byte) >> 4];
            text += digits[static_cast<unsigned char>(byte) & 15];
        }
        return text;
    }
    return std::get<std::string>(value);
}

std::string firstLine(const char* message) {
    const std::string text = message ? message : "";
    return text.substr(0, text.find('\n'));
}

// One connection and the statements prepared on it. Used by one thread at a time.
class Connection {
  public:
    explicit Connection(const std::string& url) {
        // Listed first so that a connect_timeout in the URL itself wins.
        const char* keywords[] = {"connect_timeout", "dbname", nullptr};
        const char* values[] = {"5", url.c_str(), nullptr};
        connection_ = PQconnectdbParams(keywords, values, 1);
        if (PQstatus(connection_) != CONNECTION_OK) {
            const std::string message = firstLine(PQerrorMessage(connection_));
            PQfinish(connection_);
            throw StoreError("cannot connect to PostgreSQL: " + message);
        }
        PQsetNoticeProcessor(
            connection_, [](void*, const char*) {}, nullptr);
    }
    ~Connection() { PQfinish(connection_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connects again when the server went away since the last call.
    void reconnectIfLost() {
        if (PQstatus(connection_) == CONNECTION_OK) return;
        prepared_.clear();
        PQreset(connection_);
        if (PQstatus(connection_) != CONNECTION_OK) {
            throw StoreError("cannot reconnect to PostgreSQL: " + firstLine(PQerrorMessage(connection_)));
        }
    }

    void execute(const std::string& text) {
        check(ResultPointer(PQexec(connection_, text.c_str()), &PQclear));
    }

    ResultPointer run(const SqlStatement& statement) {
        const std::string& name = prepare(statement);
        std::vector<std::string> texts;
        std::vector<const char*> values;
        for (const SqlValue& value : statement.parameters) texts.push_back(parameterText(value));
        for (const std::string& text : texts) values.push_back(text.c_str());
        ResultPointer result(PQexecPrepared(connection_, name.c_str(), static_cast<int>(values.size()),
                                            values.data(), nullptr, nullptr, 0),
                             &PQclear);
        check(result);
        return result;
    }

  private:
    const std::string& prepare(const SqlStatement& statement) {
        auto found = prepared_.find(statement.text);
        if (found != prepared_.end()) return found->second;
        // Appended rather than concatenated: g++ 12 misreads the literal-plus-temporary form as an
        // overlapping copy.
        std::string name = "s";
        name += std::to_string(prepared_.size());
        check(ResultPointer(PQprepare(connection_, name.c_str(), statement.text.c_str(),
                                      static_cast<int>(statement.parameters.size()), nullptr),
                            &PQclear));
        return prepared_.emplace(statement.text, name).first->second;
    }

    void check(const ResultPointer& result) const {
        const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            throw StoreError("PostgreSQL: " + firstLine(PQerrorMessage(connection_)));
        }
    }

    PGconn* connection_ = nullptr;
    std::map<std::string, std::string, std::less<>> prepared_;
};

std::int64_t integerAt(PGresult* result, int row, int column) {
    return std::strtoll(PQgetvalue(result, row, column), nullptr, 10);
}

// PostgreSQL gives every column as text already, real numbers in their shortest exact form.
void appendRows(std::vector<std::vector<std::string>>& rows, PGresult* result) {
    for (int row = 0; row < PQntuples(result); ++row) {
        std::vector<std::string>& columns = rows.emplace_back();
        for (int column = 0; column < PQnfields(result); ++column)
            columns.emplace_back(PQgetvalue(result, row, column));
    }
}

// Runs `work` inside a transaction on `connection`, rolling back when it throws.
template <class Work>
void inTransaction(Connection& connection, Work work) {
    connection.reconnectIfLost();
    try {
        connection.execute("BEGIN");
    } catch (const StoreError&) {
        // A connection that sat idle while the database restarted fails at its first statement, before
        // anything was done: connect again and begin once more.
        connection.reconnectIfLost();
        connection.execute("BEGIN");
    }
    commitOrRollback(connection, work);
}

void upgradeSchema(Connection& connection) {
    inTransaction(connection, [&] {
        // Servers starting together against one database create and upgrade it one after the other.
        connection.execute("SELECT pg_advisory_xact_lock(" + std::to_string(kSchemaLock) + ")");
        server::upgradeSchema(
            SqlDialect::Postgres, [&](const std::string& text) { connection.execute(text); },
            [&](const std::string& text) {
                return integerAt(connection.run({text, {}}).get(), 0, 0);
            });
    });
}

class PostgresStore final : public ScoreStore {
  public:
    explicit PostgresStore(std::string url)
        : url_(std::move(url)),
          writer_(std::make_unique<Connection>(url_)),
          readers_(kMaxReaders, [this] { return std::make_unique<Connection>(url_); }),
          committer_([this](auto batch) { commit(batch); }, &commitLatency_) {
        upgradeSchema(*writer_);
    }

    bool write(const NewScore& score, WriteMode mode) override { return committer_.write(score, mode); }

    void backup(const std::filesystem::path& /*file*/) override {
        throw StoreError("back up a PostgreSQL store with pg_dump (see README.md)");
    }

  protected:
    std::vector<TextRow> read(const SqlStatement& statement) override {
        const auto reader = readers_.take();
        reader->reconnectIfLost();
        std::vector<TextRow> rows;
        try {
            appendRows(rows, reader->run(statement).get());
        } catch (const StoreError&) {
            // A pooled connection that sat idle while the database restarted fails at its first statement;
            // a read can simply be asked again on a new connection. Without this every idle connection of
            // the pool answered one more 503, seconds after the database was back.
            rows.clear();
            reader->reconnectIfLost();
            appendRows(rows, reader->run(statement).get());
        }
        return rows;
    }

    std::vector<TextRow> runTransaction(const std::vector<SqlStatement>& statements) override {
        const auto connection = readers_.take();
        std::vector<TextRow> rows;
        inTransaction(*connection, [&] {
            for (const SqlStatement& statement : statements) {
                appendRows(rows, connection->run(statement).get());
            }
        });
        return rows;
    }

    SqlDialect dialect() const override { return SqlDialect::Postgres; }

  private:
    void commit(std::span<PendingWrite* const> batch) {
        inTransaction(*writer_, [&] {
            runWrites(batch, SqlDialect::Postgres, [&](const SqlStatement& statement) {
                return PQntuples(writer_->run(statement).get());
            });
        });
    }

    const std::string url_;
    std::unique_ptr<Connection> writer_;
    ConnectionPool<Connection> readers_;
    GroupCommitter committer_;  // last: its thread stops before the connections close
};

}  // namespace

std::unique_ptr<ScoreStore> openPostgresStore(const std::string& url) {
    return std::make_unique<PostgresStore>(url);
}

}  // namespace quintora::server
