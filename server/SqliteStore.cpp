#include "server/SqliteStore.hpp"

#include <sqlite3.h>
#include <sys/stat.h>

#include <array>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "server/ConnectionPool.hpp"
#include "server/GroupCommitter.hpp"
#include "server/ScoreSql.hpp"
#include "server/Text.hpp"
#include "server/Transaction.hpp"

namespace quintora::server {

namespace {

constexpr int kBusyTimeoutMs = 5000;
constexpr std::size_t kMaxReaders = 64;

// One connection and the statements prepared on it. Used by one thread at a time.
class Connection {
  public:
    explicit Connection(const std::filesystem::path& path) {
        const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
        if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
            const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            throw StoreError("cannot open " + path.string() + ": " + message);
        }
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        sqlite3_extended_result_codes(db_, 1);
    }
    ~Connection() {
        for (auto& [text, statement] : statements_) sqlite3_finalize(statement);
        sqlite3_close(db_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void execute(const std::string& text) {
        char* message = nullptr;
        if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string reason = message ? message : sqlite3_errmsg(db_);
            sqlite3_free(message);
            throw StoreError(reason);
        }
    }

    // Runs a statement, calling `row` for each result row.
    template <class Row>
    void run(const SqlStatement& statement, Row row) {
        sqlite3_stmt* prepared = prepare(statement.text);
        for (std::size_t i = 0; i < statement.parameters.size(); ++i)
            bind(prepared, static_cast<int>(i + 1), statement.parameters[i]);
        int status;
        while ((status = sqlite3_step(prepared)) == SQLITE_ROW) row(prepared);
        sqlite3_reset(prepared);
        sqlite3_clear_bindings(prepared);
        if (status != SQLITE_DONE) throw StoreError(sqlite3_errmsg(db_));
    }

    // Copies the whole database into `file` as of one moment, in one step: the write-ahead log lets the
    // writer go on meanwhile.
    void backupInto(const std::filesystem::path& file) {
        Connection target(file);
        sqlite3_backup* backup = sqlite3_backup_init(target.db_, "main", db_, "main");
        if (backup == nullptr) throw StoreError("cannot back up: " + std::string(sqlite3_errmsg(target.db_)));
        const int status = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
        if (status != SQLITE_DONE) throw StoreError("cannot back up: " + std::string(sqlite3_errstr(status)));
    }

    std::int64_t singleInteger(const std::string& text) {
        std::int64_t value = 0;
        run(SqlStatement{text, {}}, [&](sqlite3_stmt* row) { value = sqlite3_column_int64(row, 0); });
        return value;
    }

  private:
    sqlite3_stmt* prepare(const std::string& text) {
        auto found = statements_.find(text);
        if (found != statements_.end()) return found->second;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v3(db_, text.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
            SQLITE_OK) {
            throw StoreError(sqlite3_errmsg(db_));
        }
        statements_.emplace(text, statement);
        return statement;
    }

    static void bind(sqlite3_stmt* statement, int index, const SqlValue& value) {
        if (const auto* integer = std::get_if<std::int64_t>(&value)) {
            sqlite3_bind_int64(statement, index, *integer);
        } else if (const auto* real = std::get_if<double>(&value)) {
            sqlite3_bind_double(statement, index, *real);
        } else if (const auto* blob = std::get_if<SqlBlob>(&value)) {
            sqlite3_bind_blob(statement, index, blob->bytes.data(), static_cast<int>(blob->bytes.size()),
                              SQLITE_TRANSIENT);
        } else {
            const auto& text = std::get<std::string>(value);
            sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
    }

    sqlite3* db_ = nullptr;
    std::map<std::string, sqlite3_stmt*, std::less<>> statements_;
};

// Every column as text; a real number in the shortest form that reads back exactly, which SQLite's own
// text for it (15 digits) is not.
std::vector<std::string> textRow(sqlite3_stmt* row) {
    std::vector<std::string> columns;
    for (int column = 0; column < sqlite3_column_count(row); ++column) {
        if (sqlite3_column_type(row, column) == SQLITE_FLOAT) {
            columns.push_back(numberText(sqlite3_column_double(row, column)));
            continue;
        }
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
        columns.emplace_back(
            text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(row, column)))
                 : std::string());
    }
    return columns;
}

// Runs `work` inside a transaction opened with `begin`, rolling back when it throws.
template <class Work>
void inTransaction(Connection& connection, const std::string& begin, Work work) {
    connection.execute(begin);
    commitOrRollback(connection, work);
}

// Which file a path names now, so that a database deleted or replaced under the server is noticed: its
// connections would go on writing into a file nobody can open again, and every post would be lost.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

class SqliteStore final : public ScoreStore {
  public:
    explicit SqliteStore(std::filesystem::path path)
        : path_(std::move(path)),
          writer_(openWriter(path_)),
          readers_(kMaxReaders, [this] { return openReader(path_); }),
          files_(currentFiles()),
          committer_([this](auto batch) { commit(batch); }, &commitLatency_) {}

    bool write(const NewScore& score, WriteMode mode) override { return committer_.write(score, mode); }

    void checkHealth() override {
        checkFilesAreOurs();
        ScoreStore::checkHealth();
    }

    void backup(const std::filesystem::path& file) override {
        // Written beside the target and renamed, so that FILE is never half a copy.
        const std::filesystem::path partial = file.string() + ".partial";
        std::filesystem::remove(partial);
        try {
            readers_.take()->backupInto(partial);
        } catch (...) {
            std::filesystem::remove(partial);
            throw;
        }
        std::filesystem::rename(partial, file);
    }

  protected:
    std::vector<TextRow> read(const SqlStatement& statement) override {
        const auto reader = readers_.take();
        std::vector<TextRow> rows;
        reader->run(statement, [&](sqlite3_stmt* row) { rows.push_back(textRow(row)); });
        return rows;
    }

    std::vector<TextRow> runTransaction(const std::vector<SqlStatement>& statements) override {
        const std::lock_guard lock(moderatorMutex_);
        if (!moderator_) moderator_ = std::make_unique<Connection>(path_);
        std::vector<TextRow> rows;
        // Deferred: a lookup takes no write lock, and a change asks for it with its first statement, so
        // the busy timeout covers waiting for the writer.
        inTransaction(*moderator_, "BEGIN", [&] {
            for (const SqlStatement& statement : statements) {
                moderator_->run(statement, [&](sqlite3_stmt* row) { rows.push_back(textRow(row)); });
            }
        });
        return rows;
    }

    SqlDialect dialect() const override { return SqlDialect::Sqlite; }

  private:
    static std::unique_ptr<Connection> openWriter(const std::filesystem::path& path) {
        auto connection = std::make_unique<Connection>(path);
        try {
            // The first statement reads the file's header: a file that is not a database stops here,
            // before anything is written to it.
            connection->execute("PRAGMA journal_mode=WAL");
            connection->execute("PRAGMA synchronous=FULL");
            // Taking the write lock first, so that servers starting together upgrade one after the other.
            inTransaction(*connection, "BEGIN IMMEDIATE", [&] {
                upgradeSchema(
                    SqlDialect::Sqlite, [&](const std::string& text) { connection->execute(text); },
                    [&](const std::string& text) { return connection->singleInteger(text); });
            });
        } catch (const StoreError& error) {
            throw StoreError("cannot use " + path.string() + " as the score database: " + error.what());
        }
        return connection;
    }

    static std::unique_ptr<Connection> openReader(const std::filesystem::path& path) {
        auto reader = std::make_unique<Connection>(path);
        reader->execute("PRAGMA query_only=ON");
        return reader;
    }

    void commit(std::span<PendingWrite* const> batch) {
        inTransaction(*writer_, "BEGIN IMMEDIATE", [&] {
            runWrites(batch, SqlDialect::Sqlite, [&](const SqlStatement& statement) {
                std::size_t rows = 0;
                writer_->run(statement, [&](sqlite3_stmt*) { ++rows; });
                return rows;
            });
        });
        // Checked after the commit: a file removed before it or during it is caught here, and a post is
        // only acknowledged when what it was written to is still the store.
        checkFilesAreOurs();
    }

    // The database and its write-ahead log; the log holds the last commits until a checkpoint.
    [[nodiscard]] std::array<std::optional<FileIdentity>, 2> currentFiles() const {
        return {identityOf(path_), identityOf(path_.string() + "-wal")};
    }

    void checkFilesAreOurs() const {
        if (currentFiles() != files_) {
            throw StoreError(path_.string() +
                             " or its -wal file was deleted or replaced while in use; "
                             "restart the server once the store is back in place");
        }
    }

    const std::filesystem::path path_;
    std::unique_ptr<Connection> writer_;
    ConnectionPool<Connection> readers_;
    const std::array<std::optional<FileIdentity>, 2> files_;
    std::mutex moderatorMutex_;
    std::unique_ptr<Connection> moderator_;  // moderation and ban lookups, opened on first use
    GroupCommitter committer_;               // last: its thread stops before the connections close
};

}  // namespace

std::unique_ptr<ScoreStore> openSqliteStore(const std::filesystem::path& path) {
    return std::make_unique<SqliteStore>(path);
}

}  // namespace quintora::server
