#pragma once
// Plays a script into the game as the desktop would deliver it: the events of each frame before that
// frame's loop, the end of a tap one frame after its start, and screenshots of the frame once it is drawn.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/automation/Script.hpp"
#include "engine/Accelerometer.hpp"
#include "platform/Window.hpp"

namespace quintora {

// Presses a button of the alert shown, as a finger on it would; false (and a log line) when there is no
// alert, or no such button.
bool answerShownAlert(int index);

class ScriptPlayer {
  public:
    explicit ScriptPlayer(std::vector<ScriptEvent> script) : script_(std::move(script)) {}

    // Told of each alert button the script pressed, which no other input carries.
    void onAlertAnswered(std::function<void(int)> answered) { alertAnswered_ = std::move(answered); }

    // Delivers every event due by this frame: touches, keys, text, focus and quit to the input, alert
    // buttons to the alert shown.
    void deliver(long frame, platform::InputSink& input);
    // The tilt the script holds the device at, once it has set one.
    [[nodiscard]] const std::optional<Acceleration>& tilt() const { return tilt_; }
    // Writes the screenshots asked for in this frame from the picture just presented.
    void takeScreenshots(long frame);

  private:
    void deliver(const ScriptAction& action, long frame, platform::InputSink& input);

    std::vector<ScriptEvent> script_;
    std::size_t next_ = 0;
    std::deque<std::pair<long, ScriptAction>> pending_;  // the ends of taps
    std::vector<std::string> screenshots_;
    std::optional<Acceleration> tilt_;
    std::function<void(int)> alertAnswered_;
};

}  // namespace quintora
