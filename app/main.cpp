#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/Application.hpp"
#include "app/Options.hpp"
#include "app/automation/Script.hpp"
#include "platform/Log.hpp"
#include "platform/Resources.hpp"
#include "replay/Replay.hpp"

namespace {

// The bytes of a replay file, or of standard input for "-".
std::optional<std::vector<std::uint8_t>> readReplayFile(const std::string& path) {
    if (path == "-") return quintora::replay::readReplayBytes(std::cin);
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return quintora::replay::readReplayBytes(file);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quintora;
    const OptionsResult parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::fprintf(stderr, "quintora: %s\nRun with --help for the options.\n", parsed.error.c_str());
        return 2;
    }
    const Options& options = *parsed.options;
    if (options.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    // Without its pictures the game would show a black screen: say where they were looked for instead.
    const platform::ResourceSearch resources = platform::findResourceDirectory();
    if (!resources.found) {
        std::fprintf(stderr,
                     "quintora: the game's resources (pictures, sounds, fonts) were not found; looked in:\n");
        for (const std::string& folder : resources.tried) std::fprintf(stderr, "  %s\n", folder.c_str());
        std::fprintf(stderr, "set QUINTORA_RESOURCES to the folder that holds them\n");
        return 1;
    }
    platform::setResourceDirectory(*resources.found);
    std::vector<ScriptEvent> script;
    if (!options.scriptPath.empty()) {
        ScriptResult loaded = loadScript(options.scriptPath);
        if (!loaded.events) {
            std::fprintf(stderr, "quintora: %s: %s\n", options.scriptPath.c_str(), loaded.error.c_str());
            return 2;
        }
        script = std::move(*loaded.events);
    }
    // A replay to verify or to watch is read before anything starts: a broken one is told at once.
    std::optional<replay::Replay> replay;
    const std::string& replayPath = !options.verifyPath.empty() ? options.verifyPath : options.replayPath;
    if (!replayPath.empty()) {
        const std::optional<std::vector<std::uint8_t>> bytes = readReplayFile(replayPath);
        if (!bytes) {
            std::fprintf(stderr, "quintora: cannot read %s\n", replayPath.c_str());
            return 2;
        }
        auto decoded = replay::decode(*bytes);
        if (auto* error = std::get_if<replay::ReadError>(&decoded)) {
            if (!options.verifyPath.empty()) {
                std::printf("%s\n", unreadableVerdict(*error).json().c_str());
                return 1;
            }
            std::fprintf(stderr, "quintora: %s is no replay this game can play: %s\n", replayPath.c_str(),
                         error->reason.c_str());
            return 2;
        }
        replay = std::move(std::get<replay::Replay>(decoded));
    }
    if (!platform::openLog(options.logPath)) {
        std::fprintf(stderr, "quintora: cannot write the log to %s\n", options.logPath.c_str());
        return 2;
    }
    Application application(options, std::move(script), std::move(replay));
    int status = application.run();
    platform::closeLog();
    if (!options.verifyPath.empty() && status == 0) {
        const ReplayVerdict verdict = application.verdict();
        std::printf("%s\n", verdict.json().c_str());
        status = verdict.verdict == "verified" ? 0 : 1;
    }
    return status;
}
