#pragma once
// Running the game binary itself; the test target defines QUINTORA_BINARY as its path.
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace quintora::testing {

struct GameRun {
    int status = -1;
    std::string output;  // standard output and error together
};

// Runs a shell command line; its standard output and error together, and its exit status.
inline GameRun runCommand(const std::string& command) {
    GameRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline std::string commandOutput(const std::string& command) { return runCommand(command).output; }

inline GameRun runGame(const std::string& arguments) {
    return runCommand(std::string(QUINTORA_BINARY) + " " + arguments);
}

}  // namespace quintora::testing
