#include "server/ScoreStore.hpp"

#include <filesystem>

#include "server/PostgresStore.hpp"
#include "server/SqliteStore.hpp"

namespace quintora::server {

std::unique_ptr<ScoreStore> openStore(const std::string& url) {
    constexpr std::string_view sqlitePrefix = "sqlite:";
    if (url.starts_with(sqlitePrefix)) {
        const std::filesystem::path path = url.substr(sqlitePrefix.size());
        if (path.empty()) throw StoreError("no file given in '" + url + "'");
        std::error_code error;
        if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
        if (error) throw StoreError("cannot create " + path.parent_path().string() + ": " + error.message());
        return openSqliteStore(path);
    }
    if (url.starts_with("postgresql://") || url.starts_with("postgres://")) return openPostgresStore(url);
    throw StoreError("unknown store '" + url + "': expected sqlite:PATH or postgresql://...");
}

}  // namespace quintora::server
