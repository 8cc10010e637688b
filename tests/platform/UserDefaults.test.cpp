#include "platform/UserDefaults.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "platform/DeviceIdentifier.hpp"
#include "support/Files.hpp"

namespace quintora::platform {
namespace {

namespace fs = std::filesystem;
using testing::CapturedLog;

class UserDefaultsTest : public ::testing::Test {
  public:
    void TearDown() override {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder_, ignored))
            ::chmod(entry.path().c_str(), 0700);
        fs::remove_all(folder_, ignored);
    }
    fs::path store() const { return folder_ / UserDefaults::fileName; }

    // The copies of damaged stores moved aside in a folder.
    static std::size_t damagedCopies(const fs::path& folder) {
        static const std::regex dated(R"(defaults\.sqlite3\.damaged-\d{8}-\d{6}(-\d+)?)");
        std::size_t found = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            found += std::regex_match(entry.path().filename().string(), dated) ? 1 : 0;
        }
        return found;
    }

    const fs::path folder_ = fs::temp_directory_path() / ("quintora-defaults-" + std::to_string(::getpid()));
};

// SQLite's full check, independent of the store's own quick check at opening.
std::string integrityOf(const fs::path& file) {
    sqlite3* db = nullptr;
    std::string verdict = "cannot open";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK) {
        verdict.clear();
        while (sqlite3_step(statement) == SQLITE_ROW)
            verdict += reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return verdict;
}

void runSql(const fs::path& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// A second game process writing at the same moment, which ends without closing anything, as a crash
// would: every write of both lands, and the file stays whole.
TEST_F(UserDefaultsTest, ValuesAreKeptByKeyAndSurviveReopeningAConcurrentWriterAndACrash) {
    const fs::path nested = folder_ / "data" / "quintora";
    UserDefaults(nested.string()).setObject("first", "Level13Name");
    const pid_t child = ::fork();
    if (child == 0) {
        auto* defaults = new UserDefaults(nested.string());  // never closed
        bool ok = true;
        for (int i = 0; i < 40; ++i)
            ok = defaults->setObject(std::to_string(i), "child" + std::to_string(i)) && ok;
        ::_exit(ok && defaults->setObject("child", "Level13Name") && defaults->synchronize() ? 0 : 1);
    }
    {
        UserDefaults defaults(nested.string());
        EXPECT_TRUE(defaults.isPersistent());
        EXPECT_EQ(defaults.stringForKey("Level11"), std::nullopt);
        for (int i = 0; i < 40; ++i)
            EXPECT_TRUE(defaults.setObject(std::to_string(i), "parent" + std::to_string(i)));
        EXPECT_TRUE(defaults.setObject("24.9", "Level11"));
        EXPECT_TRUE(defaults.setObject("30.0", "Level11"));
        EXPECT_TRUE(defaults.setObject("", "Level12Name"));  // the empty name is a value
        EXPECT_TRUE(defaults.setObject(std::string("Zo\xC3\xAB ") + '\0' + "x", "Level21Name"));
        EXPECT_TRUE(defaults.synchronize());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    UserDefaults reopened(nested.string());
    EXPECT_EQ(reopened.stringForKey("Level11"), "30.0");
    EXPECT_EQ(reopened.stringForKey("level11"), std::nullopt);
    EXPECT_EQ(reopened.stringForKey("Level12Name"), "");
    EXPECT_EQ(reopened.stringForKey("Level21Name"), std::string("Zo\xC3\xAB ") + '\0' + "x");
    EXPECT_EQ(reopened.stringForKey("Level13Name"), "child");
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(reopened.stringForKey("child" + std::to_string(i)), std::to_string(i));
        EXPECT_EQ(reopened.stringForKey("parent" + std::to_string(i)), std::to_string(i));
    }
    EXPECT_EQ(integrityOf(nested / UserDefaults::fileName), "ok");
    EXPECT_EQ(damagedCopies(nested), 0u);
}

TEST_F(UserDefaultsTest, TheDeviceIdentifierIsARandomUuidMadeOnceAndAnyOtherStoredValueIsReplaced) {
    static const std::regex version4("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    const std::string first = deviceIdentifier(*std::make_unique<UserDefaults>(folder_.string()));
    EXPECT_TRUE(std::regex_match(first, version4)) << first;
    UserDefaults reopened(folder_.string());
    EXPECT_EQ(deviceIdentifier(reopened), first);
    // Hand-edited: upper case, version 1, another variant.
    for (const char* stored :
         {"not an id", "6F9619FF-8B86-4011-B42D-00C04FC964FF", "6f9619ff-8b86-1011-b42d-00c04fc964ff",
          "6f9619ff-8b86-4011-742d-00c04fc964ff"}) {
        ASSERT_TRUE(reopened.setObject(stored, "DeviceIdentifier"));
        EXPECT_TRUE(std::regex_match(deviceIdentifier(reopened), version4)) << stored;
    }
}

TEST_F(UserDefaultsTest, AStoreLockedTooLongKeepsTheValueInMemoryUntilSynchronized) {
    UserDefaults defaults(folder_.string());
    ASSERT_TRUE(defaults.setObject("20.5", "Level12"));
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(store().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    {
        CapturedLog log;
        EXPECT_FALSE(defaults.setObject("25.0", "Level12"));
        EXPECT_EQ(defaults.stringForKey("Level12"), "25.0");
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_NE(log.text().find("Level12"), std::string::npos);
    }
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(UserDefaults(folder_.string()).stringForKey("Level12"), "25.0");
}

TEST_F(UserDefaultsTest, ADamagedForeignOrUnreadableFileIsMovedAsideUnderADatedNameAndAFreshStoreIsUsed) {
    const struct {
        const char* what;
        std::function<void(const fs::path&)> spoil;
        bool asRoot;  // whether the case holds for root, who ignores file permissions
    } cases[] = {
        {"garbage", [](const fs::path& f) { std::ofstream(f) << std::string(3000, 'Z'); }, true},
        {"a header and garbage",
         [](const fs::path& f) { std::ofstream(f) << "SQLite format 3" << std::string(2000, '\1'); }, true},
        {"another shape",
         [](const fs::path& f) {
             fs::remove(f);
             runSql(f, "CREATE TABLE defaults (a, b); INSERT INTO defaults VALUES (1, 2)");
         },
         true},
        {"unreadable", [](const fs::path& f) { ::chmod(f.c_str(), 0000); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.asRoot && ::geteuid() == 0) continue;
        UserDefaults(folder_.string()).setObject("30.0", "Level11");
        c.spoil(store());
        // A journal left beside a damaged file must not survive into the fresh store.
        if (c.asRoot) std::ofstream(folder_ / "defaults.sqlite3-journal") << "not a journal either";
        const std::size_t copiesBefore = damagedCopies(folder_);
        {
            CapturedLog log;
            UserDefaults defaults(folder_.string());
            EXPECT_EQ(log.lines().size(), 1u) << log.text();
            EXPECT_TRUE(defaults.isPersistent());
            EXPECT_EQ(defaults.stringForKey("Level11"), std::nullopt);
            EXPECT_TRUE(defaults.setObject("12.3", "Level21"));
        }
        EXPECT_EQ(damagedCopies(folder_), copiesBefore + 1) << "earlier copies are kept";
        EXPECT_FALSE(fs::exists(folder_ / "defaults.sqlite3-journal"));
        EXPECT_EQ(integrityOf(store()), "ok");
        EXPECT_EQ(UserDefaults(folder_.string()).stringForKey("Level21"), "12.3");
    }
}

TEST_F(UserDefaultsTest, AFolderThatCannotBeWrittenKeepsChangesInMemoryAndOldValuesReadable) {
    fs::create_directories(folder_ / "readonly");
    UserDefaults(folder_.string() + "/readonly").setObject("30.0", "Level31");
    std::ofstream(folder_ / "plain-file") << "a file where the folder should be";
    ::chmod((folder_ / "readonly").c_str(), 0500);
    const struct {
        std::string folder;
        std::optional<std::string> stored;
    } cases[] = {{(folder_ / "plain-file" / "quintora").string(), std::nullopt},
                 {(folder_ / "readonly").string(), "30.0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        if (c.stored && ::geteuid() == 0) continue;  // root ignores permissions
        CapturedLog log;
        UserDefaults defaults(c.folder);
        EXPECT_FALSE(defaults.isPersistent());
        EXPECT_EQ(defaults.stringForKey("Level31"), c.stored);
        EXPECT_FALSE(defaults.setObject("12.3", "Level31"));
        EXPECT_EQ(defaults.stringForKey("Level31"), "12.3");
        EXPECT_FALSE(defaults.synchronize());
        EXPECT_EQ(log.lines().size(), 1u) << log.text();
    }
    EXPECT_EQ(UserDefaults(folder_.string() + "/readonly").stringForKey("Level31"), "30.0");
}

}  // namespace
}  // namespace quintora::platform
