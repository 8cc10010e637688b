#pragma once
// The server's command line.
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "server/Admin.hpp"
#include "server/HttpServer.hpp"
#include "server/ScoreChecks.hpp"
#include "server/TrustedProxies.hpp"

namespace quintora::server {

struct ServerOptions {
    std::string host = "127.0.0.1";
    int port = 8080;
    std::string database;  // a store URL, see openStore
    GameKeys games;        // always holds the bundled game
    std::string countryHeader;
    int postsPerMinute = 20;
    HttpLimits limits;
    TrustedProxies trustedProxies;
    std::string verifier;    // the game binary that re-plays posted replays
    unsigned verifiers = 1;  // verifications at once; 0: none
    bool verifiedOnly = false;
    std::optional<AdminCommand> admin;  // set when a subcommand is given: run it instead of serving
};

// "sqlite:" and a file in $XDG_DATA_HOME/quintora-server/ (or ~/.local/share/quintora-server/).
[[nodiscard]] std::string defaultDatabaseUrl();

// The options, or the exit status when the program should stop at once: 0 after --help, 2 after a bad
// command line (the message is written to `err`).
[[nodiscard]] std::variant<ServerOptions, int> parseCommandLine(int argc, const char* const* argv,
                                                                std::ostream& out, std::ostream& err);

}  // namespace quintora::server
