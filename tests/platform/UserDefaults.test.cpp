#include "platform/UserDefaults.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/Log.hpp"
#include "support/Files.hpp"

namespace quintora::platform {
namespace {

namespace fs = std::filesystem;

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "quintora-defaults-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
            if (entry.is_directory(ignored)) ::chmod(entry.path().c_str(), 0700);
        }
        ::chmod(path_.c_str(), 0700);
        fs::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    [[nodiscard]] const fs::path& path() const { return path_; }
    [[nodiscard]] std::string string() const { return path_.string(); }
    [[nodiscard]] fs::path store() const { return path_ / UserDefaults::fileName; }

private:
    fs::path path_;
};

using testing::CapturedLog;

using testing::readFile;

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<fs::path> damagedCopies(const fs::path& folder) {
    static const std::regex dated(R"(defaults\.sqlite3\.damaged-\d{8}-\d{6}(-\d+)?)");
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (std::regex_match(entry.path().filename().string(), dated)) found.push_back(entry.path());
    }
    return found;
}

// SQLite's full check, independent of the store's own quick check at opening.
std::string integrityOf(const fs::path& file) {
    sqlite3* db = nullptr;
    std::string verdict = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK) {
            verdict.clear();
            while (sqlite3_step(statement) == SQLITE_ROW) {
                verdict += reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return verdict;
}

int exitCodeOf(pid_t child) {
    int status = 0;
    if (::waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(UserDefaults, StoresStringValuesByKey) {
    TemporaryFolder folder;
    UserDefaults defaults(folder.string());
    EXPECT_TRUE(defaults.isPersistent());
    EXPECT_EQ(defaults.path(), folder.store().string());
    EXPECT_TRUE(fs::exists(folder.store()));

    EXPECT_EQ(defaults.stringForKey("Level11"), std::nullopt);
    EXPECT_TRUE(defaults.setObject("24.9", "Level11"));
    EXPECT_TRUE(defaults.setObject("Ana", "Level11Name"));
    EXPECT_EQ(defaults.stringForKey("Level11"), "24.9");
    EXPECT_EQ(defaults.stringForKey("Level11Name"), "Ana");

    EXPECT_TRUE(defaults.setObject("30.0", "Level11"));
    EXPECT_EQ(defaults.stringForKey("Level11"), "30.0");

    // The empty name is a value, not an absent one; text keeps every byte.
    EXPECT_TRUE(defaults.setObject("", "Level12Name"));
    EXPECT_EQ(defaults.stringForKey("Level12Name"), "");
    const std::string unusual = std::string("Zo\xC3\xAB ") + '\0' + "x";
    EXPECT_TRUE(defaults.setObject(unusual, "Level21Name"));
    EXPECT_EQ(defaults.stringForKey("Level21Name"), unusual);
    EXPECT_EQ(defaults.stringForKey("level11"), std::nullopt);

    EXPECT_TRUE(defaults.synchronize());
}

TEST(UserDefaults, ValuesSurviveReopeningTheFolder) {
    TemporaryFolder folder;
    {
        UserDefaults defaults(folder.string());
        EXPECT_TRUE(defaults.setObject("12.3", "Level21"));
        EXPECT_TRUE(defaults.setObject("Bo", "Level21Name"));
        EXPECT_TRUE(defaults.synchronize());
    }
    UserDefaults reopened(folder.string());
    EXPECT_EQ(reopened.stringForKey("Level21"), "12.3");
    EXPECT_EQ(reopened.stringForKey("Level21Name"), "Bo");
    EXPECT_EQ(reopened.stringForKey("Level22"), std::nullopt);
}

TEST(UserDefaults, TheFolderIsCreatedWhenMissing) {
    TemporaryFolder folder;
    const fs::path nested = folder.path() / "data" / "quintora";
    UserDefaults defaults(nested.string());
    EXPECT_TRUE(defaults.isPersistent());
    EXPECT_TRUE(defaults.setObject("1", "k"));
    EXPECT_TRUE(fs::exists(nested / UserDefaults::fileName));
}

TEST(UserDefaults, SynchronizedValuesSurviveAProcessThatDiesWithoutClosing) {
    TemporaryFolder folder;
    {
        UserDefaults defaults(folder.string());
        EXPECT_TRUE(defaults.setObject("parent", "Level11Name"));
        EXPECT_TRUE(defaults.synchronize());
    }

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The store is never closed: _exit skips every destructor, as a crash would.
        auto* defaults = new UserDefaults(folder.string());
        const bool stored = defaults->setObject("child", "Level12Name") && defaults->synchronize();
        ::_exit(stored ? 0 : 1);
    }
    ASSERT_EQ(exitCodeOf(child), 0);

    UserDefaults reopened(folder.string());
    EXPECT_EQ(reopened.stringForKey("Level11Name"), "parent");
    EXPECT_EQ(reopened.stringForKey("Level12Name"), "child");
    EXPECT_EQ(integrityOf(folder.store()), "ok");
}

TEST(UserDefaults, TwoWritersOnOneFolderBothSucceedAndKeepTheFileWhole) {
    TemporaryFolder folder;
    constexpr int writes = 40;

    // Two stores open at once in one process, taking turns.
    {
        UserDefaults first(folder.string());
        UserDefaults second(folder.string());
        for (int i = 0; i < writes; ++i) {
            EXPECT_TRUE(first.setObject(std::to_string(i), "first" + std::to_string(i)));
            EXPECT_TRUE(second.setObject(std::to_string(i), "second" + std::to_string(i)));
            EXPECT_EQ(second.stringForKey("first" + std::to_string(i)), std::to_string(i));
            EXPECT_EQ(first.stringForKey("second" + std::to_string(i)), std::to_string(i));
        }
        EXPECT_TRUE(first.synchronize());
        EXPECT_TRUE(second.synchronize());
    }

    // Two game processes writing at the same time.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int failures = 0;
        {
            UserDefaults defaults(folder.string());
            for (int i = 0; i < writes; ++i) {
                if (!defaults.setObject(std::to_string(i), "child" + std::to_string(i))) ++failures;
            }
            if (!defaults.synchronize()) ++failures;
        }
        ::_exit(failures == 0 ? 0 : 1);
    }
    {
        UserDefaults defaults(folder.string());
        for (int i = 0; i < writes; ++i) {
            EXPECT_TRUE(defaults.setObject(std::to_string(i), "parent" + std::to_string(i)));
        }
        EXPECT_TRUE(defaults.synchronize());
    }
    ASSERT_EQ(exitCodeOf(child), 0);

    EXPECT_EQ(integrityOf(folder.store()), "ok");
    UserDefaults reopened(folder.string());
    for (int i = 0; i < writes; ++i) {
        for (const char* writer : {"first", "second", "child", "parent"}) {
            EXPECT_EQ(reopened.stringForKey(writer + std::to_string(i)), std::to_string(i)) << writer << i;
        }
    }
    EXPECT_TRUE(damagedCopies(folder.path()).empty());
}

TEST(UserDefaults, AStoreLockedTooLongKeepsTheValueInMemoryUntilSynchronized) {
    TemporaryFolder folder;
    UserDefaults defaults(folder.string());
    ASSERT_TRUE(defaults.setObject("20.5", "Level12"));

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(folder.store().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    {
        CapturedLog log;
        EXPECT_FALSE(defaults.setObject("25.0", "Level12"));
        EXPECT_EQ(defaults.stringForKey("Level12"), "25.0");
        const auto lines = log.lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("Level12"), std::string::npos) << lines[0];
    }
    ASSERT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);

    EXPECT_TRUE(defaults.synchronize());
    UserDefaults reopened(folder.string());
    EXPECT_EQ(reopened.stringForKey("Level12"), "25.0");
}

TEST(UserDefaults, ADamagedFileIsMovedAsideUnderADatedNameAndAFreshStoreIsUsed) {
    TemporaryFolder folder;
    const std::string garbage(3000, '\x5A');
    writeFile(folder.store(), garbage);
    // A journal left beside the damaged file must not survive into the fresh store (SQLite discards one it
    // cannot play back; one it could not remove goes aside with the file).
    writeFile(folder.path() / "defaults.sqlite3-journal", "not a journal either");

    {
        CapturedLog log;
        UserDefaults defaults(folder.string());
        const auto lines = log.lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("damaged"), std::string::npos) << lines[0];

        EXPECT_TRUE(defaults.isPersistent());
        EXPECT_EQ(defaults.stringForKey("Level11"), std::nullopt);
        EXPECT_TRUE(defaults.setObject("30.0", "Level11"));
        EXPECT_TRUE(defaults.synchronize());
    }

    const auto copies = damagedCopies(folder.path());
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(readFile(copies[0]), garbage);
    EXPECT_FALSE(fs::exists(folder.path() / "defaults.sqlite3-journal"));
    EXPECT_EQ(integrityOf(folder.store()), "ok");

    UserDefaults reopened(folder.string());
    EXPECT_EQ(reopened.stringForKey("Level11"), "30.0");

    // Damaged again: the earlier copy is kept, the new one gets a name of its own.
    writeFile(folder.store(), "SQLite format 3" + std::string(2000, '\x01'));
    UserDefaults again(folder.string());
    EXPECT_EQ(again.stringForKey("Level11"), std::nullopt);
    const auto both = damagedCopies(folder.path());
    ASSERT_EQ(both.size(), 2u);
    std::set<std::string> contents;
    for (const auto& copy : both) contents.insert(readFile(copy));
    EXPECT_TRUE(contents.contains(garbage));
}

TEST(UserDefaults, ADatabaseOfAnotherShapeIsMovedAsideNotWrittenInto) {
    TemporaryFolder folder;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(folder.store().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE defaults (a INTEGER, b INTEGER); INSERT INTO defaults VALUES (1, 2)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const std::string original = readFile(folder.store());

    UserDefaults defaults(folder.string());
    EXPECT_TRUE(defaults.setObject("x", "key"));
    const auto copies = damagedCopies(folder.path());
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(readFile(copies[0]), original);
    EXPECT_EQ(defaults.stringForKey("key"), "x");
}

TEST(UserDefaults, AFolderThatCannotBeCreatedKeepsValuesInMemory) {
    TemporaryFolder folder;
    writeFile(folder.path() / "plain-file", "a file where the folder should be");
    CapturedLog log;
    UserDefaults defaults((folder.path() / "plain-file" / "quintora").string());
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_FALSE(defaults.isPersistent());
    EXPECT_FALSE(defaults.setObject("12.3", "Level21"));
    EXPECT_EQ(defaults.stringForKey("Level21"), "12.3");
    EXPECT_FALSE(defaults.synchronize());
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST(UserDefaults, AReadOnlyFolderKeepsChangesInMemoryAndTheOldValuesReadable) {
    if (::geteuid() == 0) GTEST_SKIP() << "root ignores file permissions";
    TemporaryFolder folder;
    const fs::path empty = folder.path() / "empty";
    const fs::path filled = folder.path() / "filled";
    fs::create_directories(empty);
    {
        UserDefaults defaults(filled.string());
        ASSERT_TRUE(defaults.setObject("30.0", "Level31"));
    }
    ::chmod(empty.c_str(), 0500);
    ::chmod(filled.c_str(), 0500);

    {
        CapturedLog log;
        UserDefaults defaults(empty.string());
        EXPECT_EQ(log.lines().size(), 1u);
        EXPECT_FALSE(defaults.isPersistent());
        EXPECT_FALSE(defaults.setObject("Cy", "Level31Name"));
        EXPECT_EQ(defaults.stringForKey("Level31Name"), "Cy");
        EXPECT_FALSE(defaults.synchronize());
        EXPECT_EQ(log.lines().size(), 1u);
        EXPECT_FALSE(fs::exists(empty / UserDefaults::fileName));
    }
    {
        CapturedLog log;
        const std::string before = readFile(filled / UserDefaults::fileName);
        UserDefaults defaults(filled.string());
        EXPECT_EQ(log.lines().size(), 1u);
        EXPECT_FALSE(defaults.isPersistent());
        EXPECT_EQ(defaults.stringForKey("Level31"), "30.0");
        EXPECT_FALSE(defaults.setObject("31.0", "Level31"));
        EXPECT_EQ(defaults.stringForKey("Level31"), "31.0");
        EXPECT_EQ(readFile(filled / UserDefaults::fileName), before);
    }
}

TEST(UserDefaults, AnUnreadableFileIsMovedAsideLikeADamagedOne) {
    if (::geteuid() == 0) GTEST_SKIP() << "root ignores file permissions";
    TemporaryFolder folder;
    {
        UserDefaults defaults(folder.string());
        ASSERT_TRUE(defaults.setObject("30.0", "Level11"));
    }
    ::chmod(folder.store().c_str(), 0000);

    CapturedLog log;
    UserDefaults defaults(folder.string());
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(defaults.isPersistent());
    EXPECT_EQ(defaults.stringForKey("Level11"), std::nullopt);
    EXPECT_TRUE(defaults.setObject("12.3", "Level21"));
    const auto copies = damagedCopies(folder.path());
    ASSERT_EQ(copies.size(), 1u);
    ::chmod(copies[0].c_str(), 0600);
    EXPECT_EQ(integrityOf(copies[0]), "ok");
}

TEST(UserDefaults, TheDeviceIdentifierIsAVersion4UuidKeptAcrossRuns) {
    static const std::regex uuid("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    TemporaryFolder folder;
    std::string identifier;
    {
        UserDefaults defaults(folder.string());
        identifier = deviceIdentifier(defaults);
        EXPECT_TRUE(std::regex_match(identifier, uuid)) << identifier;
        EXPECT_EQ(deviceIdentifier(defaults), identifier);
    }
    {
        UserDefaults reopened(folder.string());
        EXPECT_EQ(deviceIdentifier(reopened), identifier);
    }

    TemporaryFolder otherDevice;
    UserDefaults other(otherDevice.string());
    const std::string otherIdentifier = deviceIdentifier(other);
    EXPECT_TRUE(std::regex_match(otherIdentifier, uuid)) << otherIdentifier;
    EXPECT_NE(otherIdentifier, identifier);

    // Whatever else sits under the key is replaced by a proper identifier.
    ASSERT_TRUE(other.setObject("not-a-uuid", "DeviceIdentifier"));
    const std::string replaced = deviceIdentifier(other);
    EXPECT_TRUE(std::regex_match(replaced, uuid)) << replaced;
    EXPECT_EQ(deviceIdentifier(other), replaced);
}

TEST(UserDefaults, TheSharedStoreFollowsTheDataFolder) {
    TemporaryFolder first;
    TemporaryFolder second;
    setDataDirectory(first.string());
    EXPECT_EQ(dataDirectory(), first.string());
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults.path(), first.store().string());
    EXPECT_TRUE(defaults.setObject("24.9", "Level11"));

    setDataDirectory(second.string());
    EXPECT_EQ(&UserDefaults::standardUserDefaults(), &defaults);
    EXPECT_EQ(defaults.path(), second.store().string());
    EXPECT_EQ(defaults.stringForKey("Level11"), std::nullopt);

    setDataDirectory(first.string());
    EXPECT_EQ(defaults.stringForKey("Level11"), "24.9");
    EXPECT_EQ(deviceIdentifier(), deviceIdentifier(defaults));

    // The default folder follows XDG_DATA_HOME when it is an absolute path, else HOME.
    TemporaryFolder dataHome;
    const char* const savedDataHome = std::getenv("XDG_DATA_HOME");
    const std::string saved = savedDataHome != nullptr ? savedDataHome : "";
    ::setenv("XDG_DATA_HOME", dataHome.string().c_str(), 1);
    setDataDirectory("");
    EXPECT_EQ(dataDirectory(), dataHome.string() + "/quintora");
    EXPECT_EQ(defaults.path(), (dataHome.path() / "quintora" / UserDefaults::fileName).string());
    EXPECT_TRUE(defaults.isPersistent());
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        ::setenv("XDG_DATA_HOME", "relative/data", 1);
        EXPECT_EQ(dataDirectory(), std::string(home) + "/.local/share/quintora");
    }
    if (savedDataHome != nullptr) {
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
    setDataDirectory(second.string());
}

}  // namespace
}  // namespace quintora::platform
