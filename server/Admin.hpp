#pragma once
// The operator's commands, run by the server's own binary against the store a running server uses:
// list scores, remove some, ban or unban a device, back the store up or check it. Output is aligned text for
// a person or JSON for a script; every change is also logged with the time it was made.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "server/ScoreStore.hpp"

namespace CLI {
class App;
}

namespace quintora::server {

struct AdminCommand {
    enum class Action { ListScores, RemoveScores, BanDevice, UnbanDevice, Backup, Check };
    Action action = Action::ListScores;
    ScoreFilter filter;             // ListScores
    std::vector<std::int64_t> ids;  // RemoveScores
    std::string device;             // BanDevice, UnbanDevice
    bool json = false;
    std::string backupFile = {};  // Backup
};

// Adds "scores list|remove", "devices ban|unban", "backup" and "check" to the command line; `command` is set
// when one is given.
void addAdminCommands(CLI::App& app, std::optional<AdminCommand>& command);

// Runs the command, writing its result to `out` and each change, with `now`, to `log`. Returns the exit
// status: 0, or 1 when something asked for was not there (an unknown id, a device already banned) or the
// store's check found a problem.
int runAdminCommand(const AdminCommand& command, ScoreStore& store, std::int64_t now, std::ostream& out,
                    std::ostream& log);

}  // namespace quintora::server
