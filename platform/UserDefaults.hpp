#pragma once
// The user-defaults store: string values by string key, kept in one SQLite file, defaults.sqlite3, in the
// data folder. Main thread only; several processes may share one folder (SQLite's file locks keep it whole).
//
// Every setObject is its own committed transaction, written with the journal and the folder flushed to
// disk before it returns, so a value whose setObject succeeded survives a crash or a power cut. A value
// that could not be written (the store stayed locked by another process for two seconds, the disk is
// full, the folder is read-only) is kept in memory, read back for the rest of the session, and written
// again by synchronize. synchronize therefore returns true exactly when everything set so far is on disk.
//
// A file that is not a database or fails SQLite's check is renamed to
// "defaults.sqlite3.damaged-YYYYMMDD-HHMMSS" (local time) and a fresh empty store takes its place; it is
// never written over. A folder where the file cannot be created or written keeps values in memory only.
// Each of these cases writes one log line; none of them stops the game.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quintora::platform {

// The folder of the shared store: the last one set, else $XDG_DATA_HOME/quintora, else
// $HOME/.local/share/quintora (an absolute $XDG_DATA_HOME only, as the XDG rules ask).
[[nodiscard]] std::string dataDirectory();

// Sets the folder (the --data-dir option); the empty string goes back to the default folder. When the shared
// store is already open it is closed and opened again in the new folder; references to it stay valid.
void setDataDirectory(std::string dir);

class UserDefaults {
  public:
    static constexpr const char* fileName = "defaults.sqlite3";

    // Opens (creating when needed) the store in the given folder; the folder itself is created too.
    explicit UserDefaults(std::string directory);
    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    // The store in dataDirectory(), opened on first use and kept for the rest of the run.
    static UserDefaults& standardUserDefaults();

    // The value stored under the key, or nothing when there is none (or the store cannot be read).
    [[nodiscard]] std::optional<std::string> stringForKey(std::string_view key);

    // Stores the value under the key (argument order as in setObject(value, forKey)). False when the value
    // could only be kept in memory; it is then still read back and retried by synchronize.
    bool setObject(std::string_view value, std::string_view key);

    // Writes whatever setObject could not write. True when every value set so far is on disk.
    bool synchronize();

    // False when values are kept in memory only for this session (the folder or file is not writable).
    [[nodiscard]] bool isPersistent() const;

    // The full path of the database file.
    [[nodiscard]] const std::string& path() const;

  private:
    friend void setDataDirectory(std::string dir);
    void reopen(std::string directory);

    struct Store;
    std::unique_ptr<Store> store_;
};

}  // namespace quintora::platform
