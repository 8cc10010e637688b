#include "platform/UserDefaults.hpp"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <utility>

#include "platform/Log.hpp"

namespace quintora::platform {
namespace {

// Long enough for another game process to finish a commit (a few flushes to disk), short enough that a
// store held by a stuck process does not freeze the game for long.
constexpr int busyTimeoutMilliseconds = 2000;

// A journal or write-ahead log left next to a damaged file belongs to it: left behind, SQLite would play
// it back into the fresh store.
constexpr std::array<const char*, 3> companionSuffixes = {"-journal", "-wal", "-shm"};

std::string joinPath(const std::string& directory, const char* name) {
    if (directory.empty()) return name;
    std::string path = directory;
    if (path.back() != '/') path += '/';
    path += name;
    return path;
}

bool pathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool exists = false;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity identityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    return {info.st_dev, info.st_ino, true};
}

// Moves the file to a new name without ever replacing a file already there.
bool renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without the flag: the existence check leaves a small window, acceptable for a rename
    // that happens once in a blue moon.
    if (pathExists(to)) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

// The dated name uses the real wall clock even under the virtual clock: it tells a person when the file
// was found damaged.
std::string datedSuffix() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Renames path to "<path>.damaged-<date>" (with "-2", "-3", ... when that name is taken) together with its
// journal files. Returns the new name, or nothing when the file could not be moved.
std::optional<std::string> moveAside(const std::string& path) {
    const std::string base = path + ".damaged-" + datedSuffix();
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const std::string target = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        if (!renameWithoutReplacing(path, target)) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        for (const char* suffix : companionSuffixes) {
            const std::string companion = path + suffix;
            if (pathExists(companion)) (void)renameWithoutReplacing(companion, target + suffix);
        }
        return target;
    }
    return std::nullopt;
}

bool isBusy(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// Errors that say the file's content cannot be read as our store; anything else (memory, a busy lock)
// leaves the file where it is.
bool meansDamaged(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_IOERR ||
           primary == SQLITE_CANTOPEN || primary == SQLITE_FORMAT || primary == SQLITE_ERROR;
}

class Statement {
  public:
    Statement(sqlite3* db, const char* sql) { code_ = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr); }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    [[nodiscard]] bool prepared() const { return statement_ != nullptr; }
    [[nodiscard]] int code() const { return code_; }
    [[nodiscard]] sqlite3_stmt* get() const { return statement_; }

    void bind(int index, std::string_view text) {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }

    int step() { return code_ = sqlite3_step(statement_); }

  private:
    sqlite3_stmt* statement_ = nullptr;
    int code_ = SQLITE_OK;
};

constexpr const char* createTableSql =
    "CREATE TABLE IF NOT EXISTS defaults (key TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL) WITHOUT ROWID";
constexpr const char* selectSql = "SELECT value FROM defaults WHERE key = ?1";
constexpr const char* upsertSql =
    "INSERT INTO defaults (key, value) VALUES (?1, ?2) ON CONFLICT (key) DO UPDATE SET value = "
    "excluded.value";

}  // namespace

struct UserDefaults::Store {
    std::string directory;
    std::string path;
    sqlite3* db = nullptr;
    bool writable = false;
    std::string unwritableReason;
    // Values set this session that are not on disk yet; they are read before the file.
    std::map<std::string, std::string, std::less<>> unsaved;

    Store() = default;
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;
    ~Store() { close(); }

    void close() {
        if (db != nullptr) sqlite3_close_v2(db);
        db = nullptr;
        writable = false;
    }

    [[nodiscard]] std::string lastError() const { return db != nullptr ? sqlite3_errmsg(db) : "no database"; }

    bool write(std::string_view key, std::string_view value) {
        Statement upsert(db, upsertSql);
        if (!upsert.prepared()) return false;
        upsert.bind(1, key);
        upsert.bind(2, value);
        return upsert.step() == SQLITE_DONE;
    }

    enum class Outcome { Open, Damaged, Unavailable };
    struct Attempt {
        Outcome outcome = Outcome::Unavailable;
        std::string reason;
    };

    // One try at opening the file and checking it. On Damaged and Unavailable the connection is closed.
    Attempt tryOpen() {
        const bool existed = pathExists(path);
        const int openCode =
            sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (openCode != SQLITE_OK) {
            Attempt failed{existed ? Outcome::Damaged : Outcome::Unavailable, lastError()};
            close();
            return failed;
        }
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, busyTimeoutMilliseconds);

        bool verified = true;
        {
            Statement check(db, "PRAGMA quick_check");
            if (!check.prepared()) {
                if (isBusy(check.code())) {
                    verified = false;
                } else {
                    return fail(meansDamaged(check.code()), lastError());
                }
            } else {
                std::string verdict;
                int rows = 0;
                while (check.step() == SQLITE_ROW) {
                    ++rows;
                    if (const auto* text = sqlite3_column_text(check.get(), 0)) {
                        verdict = reinterpret_cast<const char*>(text);
                    }
                }
                if (isBusy(check.code())) {
                    verified = false;
                } else if (check.code() != SQLITE_DONE) {
                    return fail(meansDamaged(check.code()), lastError());
                } else if (rows != 1 || verdict != "ok") {
                    return fail(true, "integrity check: " + verdict);
                }
            }
        }

        // The journal is made next to the file, so a read-only folder makes a writable file read-only.
        writable = sqlite3_db_readonly(db, "main") == 0 && ::access(directory.c_str(), W_OK) == 0;
        if (!writable) unwritableReason = "read-only";
        if (writable) {
            // EXTRA also flushes the folder after the journal is deleted; with FULL alone a power cut right
            // after a commit can bring the journal back and roll the commit away.
            sqlite3_exec(db, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr);
            sqlite3_exec(db, "PRAGMA synchronous = EXTRA", nullptr, nullptr, nullptr);
            const int created = sqlite3_exec(db, createTableSql, nullptr, nullptr, nullptr);
            if (isBusy(created)) {
                verified = false;
            } else if ((created & 0xFF) == SQLITE_NOTADB || (created & 0xFF) == SQLITE_CORRUPT) {
                return fail(true, lastError());
            } else if (created != SQLITE_OK) {
                // A full disk or a folder that refuses the journal: what is stored can still be read.
                writable = false;
                unwritableReason = lastError();
            }
        }

        // A file of the right name holding some other table called "defaults" is not ours to write into.
        const bool hasTable = [&] {
            Statement table(db, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'defaults'");
            return table.prepared() && table.step() == SQLITE_ROW;
        }();
        if (hasTable) {
            Statement select(db, selectSql);
            Statement upsert(db, upsertSql);
            if (!select.prepared() || (!upsert.prepared() && !isBusy(upsert.code()))) {
                return fail(true, "not a defaults store: " + lastError());
            }
        }

        if (!verified)
            logf("defaults: %s stayed locked by another process; using it unchecked", path.c_str());
        return {Outcome::Open, {}};
    }

    Attempt fail(bool damaged, std::string reason) {
        close();
        return {damaged ? Outcome::Damaged : Outcome::Unavailable, std::move(reason)};
    }

    void open() {
        std::error_code error;
        std::filesystem::create_directories(directory, error);
        if (error) {
            logf(
                "defaults: cannot create the data folder %s (%s); values are kept in memory for this session",
                directory.c_str(), error.message().c_str());
            return;
        }

        FileIdentity examined = identityOf(path);
        Attempt attempt = tryOpen();
        for (int round = 0; attempt.outcome == Outcome::Damaged && round < 3; ++round) {
            // Another game process may have moved the file aside and started afresh meanwhile; then it is
            // that fresh store which is looked at, not moved.
            if (identityOf(path) != examined) {
                examined = identityOf(path);
                attempt = tryOpen();
                continue;
            }
            const auto aside = moveAside(path);
            if (!aside) {
                logf(
                    "defaults: %s is damaged (%s) and cannot be moved aside (%s); values are kept in memory "
                    "for this session",
                    path.c_str(), attempt.reason.c_str(), std::strerror(errno));
                return;
            }
            logf("defaults: %s is damaged (%s); moved it aside to %s and started an empty store",
                 path.c_str(), attempt.reason.c_str(), aside->c_str());
            examined = identityOf(path);
            attempt = tryOpen();
        }

        if (attempt.outcome != Outcome::Open) {
            logf("defaults: cannot open %s (%s); values are kept in memory for this session", path.c_str(),
                 attempt.reason.c_str());
            return;
        }
        if (!writable) {
            logf("defaults: %s cannot be written (%s); changes are kept in memory for this session",
                 path.c_str(), unwritableReason.c_str());
        }
    }
};

UserDefaults::UserDefaults(std::string directory) { reopen(std::move(directory)); }

UserDefaults::~UserDefaults() {
    if (store_ != nullptr && !store_->unsaved.empty() && store_->writable) (void)synchronize();
}

void UserDefaults::reopen(std::string directory) {
    if (store_ != nullptr && store_->writable && !store_->unsaved.empty()) (void)synchronize();
    store_.reset();
    auto store = std::make_unique<Store>();
    store->path = joinPath(directory, fileName);
    store->directory = std::move(directory);
    store->open();
    store_ = std::move(store);
}

std::optional<std::string> UserDefaults::stringForKey(std::string_view key) {
    if (const auto found = store_->unsaved.find(key); found != store_->unsaved.end()) return found->second;
    if (store_->db == nullptr) return std::nullopt;

    Statement select(store_->db, selectSql);
    if (!select.prepared()) {
        // No table at all is a read-only file that was never written to: nothing stored, nothing to say.
        if ((select.code() & 0xFF) != SQLITE_ERROR) {
            logf("defaults: cannot read \"%.*s\" from %s (%s)", static_cast<int>(key.size()), key.data(),
                 store_->path.c_str(), store_->lastError().c_str());
        }
        return std::nullopt;
    }
    select.bind(1, key);
    const int code = select.step();
    if (code == SQLITE_ROW) {
        const auto* text = static_cast<const char*>(sqlite3_column_blob(select.get(), 0));
        const int size = sqlite3_column_bytes(select.get(), 0);
        return std::string(text != nullptr ? text : "", static_cast<std::size_t>(size));
    }
    if (code != SQLITE_DONE) {
        logf("defaults: cannot read \"%.*s\" from %s (%s)", static_cast<int>(key.size()), key.data(),
             store_->path.c_str(), store_->lastError().c_str());
    }
    return std::nullopt;
}

bool UserDefaults::setObject(std::string_view value, std::string_view key) {
    Store& store = *store_;
    if (store.db != nullptr && store.writable && store.write(key, value)) {
        if (const auto found = store.unsaved.find(key); found != store.unsaved.end())
            store.unsaved.erase(found);
        return true;
    }
    if (store.db != nullptr && store.writable) {
        logf("defaults: cannot store \"%.*s\" in %s (%s); kept in memory until it can be written",
             static_cast<int>(key.size()), key.data(), store.path.c_str(), store.lastError().c_str());
    }
    store.unsaved.insert_or_assign(std::string(key), std::string(value));
    return false;
}

bool UserDefaults::synchronize() {
    Store& store = *store_;
    if (store.unsaved.empty()) return true;
    if (store.db == nullptr || !store.writable) return false;

    const auto giveUp = [&store] {
        logf("defaults: cannot write %zu value(s) to %s (%s); they stay in memory", store.unsaved.size(),
             store.path.c_str(), store.lastError().c_str());
        if (sqlite3_get_autocommit(store.db) == 0)
            sqlite3_exec(store.db, "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    };
    if (sqlite3_exec(store.db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return giveUp();
    for (const auto& [key, value] : store.unsaved) {
        if (!store.write(key, value)) return giveUp();
    }
    if (sqlite3_exec(store.db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) return giveUp();
    store.unsaved.clear();
    return true;
}

bool UserDefaults::isPersistent() const { return store_->db != nullptr && store_->writable; }

const std::string& UserDefaults::path() const { return store_->path; }

namespace {

struct SharedDefaults {
    std::optional<std::string> directory;
    std::unique_ptr<UserDefaults> instance;
};

SharedDefaults& shared() {
    static SharedDefaults defaults;
    return defaults;
}

}  // namespace

std::string dataDirectory() {
    if (const auto& chosen = shared().directory) return *chosen;
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome != nullptr && dataHome[0] == '/') {
        return joinPath(dataHome, "quintora");
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        return joinPath(home, ".local/share/quintora");
    }
    return "quintora-data";
}

void setDataDirectory(std::string dir) {
    SharedDefaults& defaults = shared();
    if (dir.empty()) {
        defaults.directory.reset();
    } else {
        defaults.directory = std::move(dir);
    }
    if (defaults.instance != nullptr) defaults.instance->reopen(dataDirectory());
}

UserDefaults& UserDefaults::standardUserDefaults() {
    SharedDefaults& defaults = shared();
    if (defaults.instance == nullptr) defaults.instance = std::make_unique<UserDefaults>(dataDirectory());
    return *defaults.instance;
}

}  // namespace quintora::platform
