#include <cstdio>
#include <string>
#include <vector>

#include "app/Application.hpp"
#include "app/Options.hpp"
#include "app/automation/Script.hpp"
#include "platform/Log.hpp"
#include "platform/Resources.hpp"

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
    if (!platform::openLog(options.logPath)) {
        std::fprintf(stderr, "quintora: cannot write the log to %s\n", options.logPath.c_str());
        return 2;
    }
    Application application(options, std::move(script));
    const int status = application.run();
    platform::closeLog();
    return status;
}
