#pragma once
// The end of a transaction, alike for every store: what `work` did is committed, or rolled back when
// anything throws.
#include "server/ScoreStore.hpp"

namespace quintora::server {

// Runs `work` in the transaction already begun on `connection` and commits it; when `work` or the
// commit throws, rolls back and throws on.
template <class Connection, class Work>
void commitOrRollback(Connection& connection, Work work) {
    try {
        work();
        connection.execute("COMMIT");
    } catch (...) {
        try {
            connection.execute("ROLLBACK");
        } catch (const StoreError&) {
            // A failed COMMIT may already have rolled back, or the connection is gone: nothing is left to
            // undo.
        }
        throw;
    }
}

}  // namespace quintora::server
