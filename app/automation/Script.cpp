#include "app/automation/Script.hpp"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

namespace quintora {
namespace {

std::string trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

template <class Number>
bool parseNumber(const std::string& text, Number& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> result;
    for (std::string word; stream >> word;) result.push_back(word);
    return result;
}

// Parses the event after the frame number; returns an error text or nothing.
std::optional<std::string> parseAction(const std::string& rest, ScriptAction& action) {
    const std::vector<std::string> w = words(rest);
    if (w.empty()) return "missing event";
    const std::string& verb = w[0];
    auto numbers = [&](std::size_t count, auto* values) -> std::optional<std::string> {
        if (w.size() != count + 1) return verb + " takes " + std::to_string(count) + " numbers";
        for (std::size_t i = 0; i < count; ++i) {
            if (!parseNumber(w[i + 1], values[i])) return "'" + w[i + 1] + "' is not a number";
        }
        return std::nullopt;
    };
    if (verb == "touch") {
        if (w.size() != 4) return "touch takes began|moved|ended X Y";
        script::Touch touch{};
        if (w[1] == "began") {
            touch.kind = script::TouchKind::Began;
        } else if (w[1] == "moved") {
            touch.kind = script::TouchKind::Moved;
        } else if (w[1] == "ended") {
            touch.kind = script::TouchKind::Ended;
        } else {
            return "unknown touch phase '" + w[1] + "'";
        }
        if (!parseNumber(w[2], touch.x) || !parseNumber(w[3], touch.y)) return "touch needs two numbers";
        action = touch;
    } else if (verb == "tap") {
        float xy[2] = {};
        if (auto error = numbers(2, xy)) return error;
        action = script::Tap{xy[0], xy[1]};
    } else if (verb == "wheel") {
        float lines = 0;
        if (auto error = numbers(1, &lines)) return error;
        action = script::Wheel{lines};
    } else if (verb == "tilt") {
        double xyz[3] = {};
        if (auto error = numbers(3, xyz)) return error;
        action = script::Tilt{xyz[0], xyz[1], xyz[2]};
    } else if (verb == "text") {
        // The rest of the line after one separating blank, kept as typed.
        const auto at = rest.find("text");
        std::string text = rest.substr(at + 4);
        if (!text.empty() && text.front() == ' ') text.erase(0, 1);
        while (!text.empty() && (text.back() == '\r')) text.pop_back();
        action = script::Text{text};
    } else if (verb == "key") {
        static constexpr std::pair<const char*, script::KeyName> keys[] = {
            {"return", script::KeyName::Return}, {"backspace", script::KeyName::Backspace},
            {"escape", script::KeyName::Escape}, {"p", script::KeyName::P},
            {"m", script::KeyName::M},           {"minus", script::KeyName::Minus},
            {"plus", script::KeyName::Plus},     {"f1", script::KeyName::F1},
            {"f2", script::KeyName::F2},         {"up", script::KeyName::Up},
            {"down", script::KeyName::Down},     {"left", script::KeyName::Left},
            {"right", script::KeyName::Right},   {"0", script::KeyName::Digit0},
            {"1", script::KeyName::Digit1},      {"2", script::KeyName::Digit2},
            {"3", script::KeyName::Digit3},      {"4", script::KeyName::Digit4},
            {"5", script::KeyName::Digit5},      {"6", script::KeyName::Digit6},
            {"7", script::KeyName::Digit7},      {"8", script::KeyName::Digit8},
            {"9", script::KeyName::Digit9},      {"space", script::KeyName::Space},
            {"f", script::KeyName::F},
        };
        if (w.size() != 2)
            return "key takes return|backspace|escape|p|m|minus|plus|f1|f2|up|down|left|right|0-9|space|f";
        const auto found =
            std::find_if(std::begin(keys), std::end(keys), [&](const auto& k) { return w[1] == k.first; });
        if (found == std::end(keys)) return "unknown key '" + w[1] + "'";
        action = script::Key{found->second};
    } else if (verb == "focus") {
        if (w.size() != 2 || (w[1] != "lost" && w[1] != "gained")) return "focus takes lost|gained";
        action = script::Focus{w[1] == "gained"};
    } else if (verb == "alert") {
        int index[1] = {};
        if (auto error = numbers(1, index)) return error;
        if (index[0] < 0) return "alert index must not be negative";
        action = script::Alert{index[0]};
    } else if (verb == "screenshot") {
        if (w.size() != 2) return "screenshot takes one file name";
        action = script::Screenshot{w[1]};
    } else if (verb == "quit") {
        if (w.size() != 1) return "quit takes nothing";
        action = script::Quit{};
    } else {
        return "unknown event '" + verb + "'";
    }
    return std::nullopt;
}

}  // namespace

ScriptResult parseScript(const std::string& text) {
    std::vector<ScriptEvent> events;
    std::istringstream stream(text);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(stream, raw)) {
        ++lineNumber;
        // A '#' starts a comment, except inside typed text, which runs to the end of the line.
        std::string line = raw;
        const auto textAt = line.find(" text");
        const auto hash = line.find('#');
        if (hash != std::string::npos && (textAt == std::string::npos || hash < textAt)) line.erase(hash);
        line = trim(line);
        if (line.empty()) continue;
        const auto space = line.find_first_of(" \t");
        ScriptEvent event;
        event.line = lineNumber;
        const std::string frameText = line.substr(0, space);
        if (!parseNumber(frameText, event.frame) || event.frame < 1) {
            return {std::nullopt,
                    "line " + std::to_string(lineNumber) + ": '" + frameText + "' is not a frame number"};
        }
        const std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
        if (auto error = parseAction(rest, event.action)) {
            return {std::nullopt, "line " + std::to_string(lineNumber) + ": " + *error};
        }
        events.push_back(std::move(event));
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    return {std::move(events), {}};
}

ScriptResult loadScript(const std::string& path) {
    std::ifstream file(path);
    if (!file) return {std::nullopt, "cannot read script " + path};
    std::ostringstream text;
    text << file.rdbuf();
    return parseScript(text.str());
}

}  // namespace quintora
