#include "app/Options.hpp"

#include <CLI/CLI.hpp>

namespace quintora {
namespace {

// The last second of the year 9999, and a year of frames at 60 a second: beyond any real use.
constexpr long long kLastEpoch = 253402300799;
constexpr long kMostFrames = 60L * 60 * 60 * 24 * 366;

constexpr const char* kDescription = "Quintora: sixteen five-second mini-games in a row.";

constexpr const char* kFooter =
    "Script events, one a line as '<frame> <event>' (points are landscape scene points, origin lower left):\n"
    "  touch began|moved|ended X Y   tap X Y   tilt X Y Z   text STRING\n"
    "  key return|backspace|escape|p|m|minus|plus|f1|f2|up|down|left|right|0-9|space|f\n"
    "  alert INDEX   focus lost|gained   wheel LINES   screenshot FILE.png   quit\n"
    "\n"
    "In a window: the left mouse button touches, the arrow keys (or WASD) tilt the device,\n"
    "Watching a replay, Space pauses it, F plays it four times as fast and Escape leaves it.\n"
    "Escape or P pauses a stage, M mutes, - and + set the volume; on the menu the arrows and Return\n"
    "press its buttons, Escape quits, F1 lists every key and F2 opens Practice; the mouse wheel\n"
    "scrolls the world ranking.\n"
    "A game controller's left stick or D-pad tilts, its right stick moves a pointer that A touches\n"
    "with, and Start pauses.";

// The game's options, bound to the fields they fill. `help` is left to the caller: the parse asks for it
// by throwing, the usage text only prints it.
void describe(CLI::App& app, Options& options, std::string& replayNamedAlone) {
    app.set_help_flag("--help,-h", "Print this text and exit");
    app.add_flag("--headless", options.headless, "Run without a window (input only from --script, no sound)");
    app.add_flag("--virtual-clock", options.virtualClock,
                 "The clock starts at --epoch and advances exactly one frame per frame");
    app.add_option("--epoch", options.epoch, "Start of the virtual clock (default 1230768000)")
        ->type_name("SECONDS")
        ->check(CLI::Range(0LL, kLastEpoch).description(""));
    app.add_option("--frames", options.frames, "Stop after frame N (frame 1 is the first)")
        ->type_name("N")
        ->check(CLI::Range(1L, kMostFrames).description(""));
    app.add_option("--script", options.scriptPath, "Scripted input, one event per line (below)")
        ->type_name("FILE");
    app.add_option("--replay", options.replayPath,
                   "Watch a recorded run (Space pauses, F plays four times as fast), then go on to the menu")
        ->type_name("FILE");
    app.add_option("replay", replayNamedAlone, "A replay to watch, named alone (as a file manager opens one)")
        ->type_name("FILE");
    app.add_option(
           "--verify", options.verifyPath,
           "Re-play a recorded run without drawing and print one JSON line with its verdict; the exit "
           "status is 0 only when it is verified")
        ->type_name("FILE|-");
    app.add_option("--log", options.logPath, "Write the diagnostic log, each line '<frame> <text>'")
        ->type_name("FILE|-");
    app.add_option("--data-dir", options.dataDir, "Keep the records in DIR instead of the user's data folder")
        ->type_name("DIR");
    app.add_option("--score-server", options.scoreServer,
                   "The world ranking's score server (also QUINTORA_SCORE_SERVER); without one the game runs "
                   "its own quintora-server on 127.0.0.1")
        ->type_name("URL");
    app.add_option("--scale", options.scale, "Pixels per point (default 1 headless, 2 in a window)")
        ->type_name("N")
        ->check(CLI::Range(1, 8).description(""));
    app.add_flag("--fullscreen", options.fullscreen, "Start fullscreen (F11 toggles)");
    app.add_flag("--mute", options.mute, "Start with the sound off (kept for later runs)");
    app.footer(kFooter);
}

}  // namespace

std::string usageText() {
    Options ignored;
    CLI::App app(kDescription, "quintora");
    std::string alsoIgnored;
    describe(app, ignored, alsoIgnored);
    return app.help();
}

OptionsResult parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    CLI::App app(kDescription, "quintora");
    std::string replayNamedAlone;
    describe(app, options, replayNamedAlone);
    std::vector<const char*> argv{"quintora"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::CallForHelp&) {
        options.help = true;
    } catch (const CLI::ParseError& error) {
        return {std::nullopt, error.what()};
    }
    if (options.replayPath.empty()) options.replayPath = replayNamedAlone;
    // An empty path would silently mean "none": refuse it as the option's mistake.
    for (const auto& [name, value] : {std::pair{"--script", &options.scriptPath},
                                      {"--log", &options.logPath},
                                      {"--replay", &options.replayPath},
                                      {"--verify", &options.verifyPath},
                                      {"--data-dir", &options.dataDir},
                                      {"--score-server", &options.scoreServer}}) {
        if (app.count(name) > 0 && value->empty())
            return {std::nullopt, std::string(name) + " needs a value"};
    }
    if (!options.verifyPath.empty() && (!options.replayPath.empty() || !options.scriptPath.empty()))
        return {std::nullopt, "--verify plays a replay alone: it takes no --replay or --script"};
    return {options, {}};
}

}  // namespace quintora
