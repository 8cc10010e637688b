#pragma once
// Scripted input for automation: one event per line, "<frame> <event>", '#' starts a comment. The
// events of frame F are delivered before frame F is drawn, in file order.
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/Window.hpp"

namespace quintora {

namespace script {
enum class TouchKind { Began, Moved, Ended };
using KeyName = platform::Key;

struct Touch {
    TouchKind kind;
    float x, y;  // landscape scene points, origin lower left
};
struct Tap {
    float x, y;
};
struct Tilt {
    double x, y, z;
};
struct Text {
    std::string text;
};
struct Key {
    KeyName key;
};
struct Alert {
    int index;
};
struct Screenshot {
    std::string path;
};
struct Focus {
    bool active;  // the window gained (true) or lost its focus
};
struct Wheel {
    float lines;  // positive away from the player
};
struct Quit {};
}  // namespace script

using ScriptAction =
    std::variant<script::Touch, script::Tap, script::Tilt, script::Text, script::Key, script::Alert,
                 script::Screenshot, script::Focus, script::Wheel, script::Quit>;

struct ScriptEvent {
    long frame = 0;
    ScriptAction action;
    int line = 0;
};

struct ScriptResult {
    std::optional<std::vector<ScriptEvent>> events;  // sorted by frame, file order within a frame
    std::string error;                               // "line N: ..." when events is empty
};

[[nodiscard]] ScriptResult parseScript(const std::string& text);
[[nodiscard]] ScriptResult loadScript(const std::string& path);

}  // namespace quintora
