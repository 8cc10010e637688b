#pragma once
// The command line of the game binary.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quintora {

struct Options {
    bool headless = false;
    bool virtualClock = false;
    std::int64_t epoch = 1230768000;
    std::optional<long> frames;  // stop after this frame
    std::string scriptPath;
    std::string replayPath;  // a replay to watch
    std::string verifyPath;  // a replay to verify; "-" for standard input
    std::string logPath;     // "-" for standard output; empty drops the log
    std::string dataDir;
    std::string scoreServer;
    std::optional<int> scale;  // 1 headless, 2 in a window when not given
    bool fullscreen = false;
    bool mute = false;
    bool help = false;

    [[nodiscard]] int effectiveScale() const { return scale.value_or(headless ? 1 : 2); }
};

struct OptionsResult {
    std::optional<Options> options;
    std::string error;  // names the option when options is empty
};

[[nodiscard]] OptionsResult parseOptions(const std::vector<std::string>& arguments);
// The --help text, with every option, the script's events and the controls.
[[nodiscard]] std::string usageText();

}  // namespace quintora
