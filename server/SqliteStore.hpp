#pragma once
// Scores in one SQLite file: write-ahead log, full synchronous commits, one writer thread that commits
// concurrent writes together, and a pool of reader connections that never wait for it.
#include <filesystem>
#include <memory>

#include "server/ScoreStore.hpp"

namespace quintora::server {

// Opens or creates the file and brings its schema up to date. Refuses, without touching it, a file that is
// not a SQLite database or whose schema is newer than this server's.
[[nodiscard]] std::unique_ptr<ScoreStore> openSqliteStore(const std::filesystem::path& path);

}  // namespace quintora::server
