#include "app/Options.hpp"

#include <charconv>

namespace quintora {
namespace {

template <class Number>
bool parseNumber(const std::string& text, Number& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

}  // namespace

const char* usageText() {
    return "usage: quintora [options]\n"
           "\n"
           "  --headless             run without a window (input only from --script, no sound)\n"
           "  --virtual-clock        the clock starts at --epoch and advances exactly one frame per frame\n"
           "  --epoch SECONDS        start of the virtual clock (default 1230768000)\n"
           "  --frames N             stop after frame N (frame 1 is the first)\n"
           "  --script FILE          scripted input, one event per line: '<frame> <event>'\n"
           "                           touch began|moved|ended X Y   tap X Y   tilt X Y Z\n"
           "                           text STRING   key return|backspace|escape|p|m|minus|plus|f1|f2|up|down|left|right|0-9\n"
           "                           alert INDEX   focus lost|gained   screenshot FILE.png   quit\n"
           "                         points are landscape scene points, origin lower left\n"
           "  --log FILE|-           write the diagnostic log, each line '<frame> <text>'\n"
           "  --data-dir DIR         keep the records in DIR instead of the user's data folder\n"
           "  --score-server URL     the world ranking's score server (also QUINTORA_SCORE_SERVER);\n"
           "                         without one the game runs its own quintora-server on 127.0.0.1\n"
           "  --scale N              pixels per point (default 1 headless, 2 in a window)\n"
           "  --fullscreen           start fullscreen (F11 toggles)\n"
           "  --mute                 start with the sound off (kept for later runs)\n"
           "  --help                 this text\n"
           "\n"
           "In a window: the left mouse button touches, the arrow keys (or WASD) tilt the device,\n"
           "Escape or P pauses a stage, M mutes, - and + set the volume, F1 shows every key, F2 opens Practice\n"
           "from the menu.\n"
           "A game controller's left stick or D-pad tilts, its right stick moves a pointer that A touches\n"
           "with, and Start pauses.\n";
}

OptionsResult parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        auto value = [&]() -> const std::string* {
            if (i + 1 >= arguments.size()) return nullptr;
            return &arguments[++i];
        };
        auto missing = [&] { return OptionsResult{std::nullopt, "option " + name + " needs a value"}; };
        auto invalid = [&](const std::string& v) {
            return OptionsResult{std::nullopt, "option " + name + ": invalid value '" + v + "'"};
        };
        if (name == "--headless") {
            options.headless = true;
        } else if (name == "--virtual-clock") {
            options.virtualClock = true;
        } else if (name == "--fullscreen") {
            options.fullscreen = true;
        } else if (name == "--mute") {
            options.mute = true;
        } else if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--epoch") {
            const std::string* v = value();
            if (!v) return missing();
            if (!parseNumber(*v, options.epoch) || options.epoch < 0) return invalid(*v);
        } else if (name == "--frames") {
            const std::string* v = value();
            if (!v) return missing();
            long frames = 0;
            if (!parseNumber(*v, frames) || frames < 1) return invalid(*v);
            options.frames = frames;
        } else if (name == "--scale") {
            const std::string* v = value();
            if (!v) return missing();
            int scale = 0;
            if (!parseNumber(*v, scale) || scale < 1 || scale > 8) return invalid(*v);
            options.scale = scale;
        } else if (name == "--script" || name == "--log" || name == "--data-dir" || name == "--score-server") {
            const std::string* v = value();
            if (!v || v->empty()) return missing();
            std::string& target = name == "--script"     ? options.scriptPath
                                  : name == "--log"      ? options.logPath
                                  : name == "--data-dir" ? options.dataDir
                                                         : options.scoreServer;
            target = *v;
        } else {
            return {std::nullopt, "unknown option '" + name + "'"};
        }
    }
    return {options, {}};
}

}  // namespace quintora
