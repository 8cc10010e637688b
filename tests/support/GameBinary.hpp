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

inline GameRun runGame(const std::string& arguments) {
    GameRun run;
    const std::string command = std::string(QUINTORA_BINARY) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace quintora::testing
