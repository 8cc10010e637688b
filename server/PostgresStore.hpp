#pragma once
// Scores in a PostgreSQL database that several servers may share. Same schema, same answers as the SQLite
// store; concurrent writes share commits the same way. A lost connection makes the calls under way fail
// with StoreError; the next call connects again.
#include <memory>
#include <string>

#include "server/ScoreStore.hpp"

namespace quintora::server {

// `url` is a libpq connection URL ("postgresql://user@host:port/database?..."). Connects, creates or
// upgrades the schema, and throws StoreError when either cannot be done.
[[nodiscard]] std::unique_ptr<ScoreStore> openPostgresStore(const std::string& url);

}  // namespace quintora::server
