#pragma once
// The desktop window: a GL ES 1.1 context, the landscape picture of the portrait view scaled into it
// (letterboxed when the window's shape differs), and the player's input translated into what the phone
// would report: touches in the portrait view's points, keys, typed text, focus, quit and low memory.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Display.hpp"

namespace quintora::platform {

enum class InputPhase { Began, Moved, Ended, Cancelled };
enum class Key {
    Return,
    Backspace,
    Escape,
    Up,
    Down,
    Left,
    Right,
    P,
    M,
    Minus,
    Plus,
    F1,
    F2,
    Fullscreen,
    Space,
    F,
    Digit0,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    Other
};
// The digit a digit key types, or none for any other key.
[[nodiscard]] std::optional<int> digitOf(Key key);

class InputSink {
  public:
    virtual ~InputSink() = default;
    // A touch at a point of the portrait view (320 x 480 points, origin top left).
    virtual void touch(InputPhase phase, long id, float viewX, float viewY) = 0;
    virtual void key(Key key, bool pressed) = 0;
    virtual void text(std::string_view utf8) = 0;
    virtual void focusChanged(bool active) = 0;
    virtual void quitRequested() = 0;
    virtual void lowMemory() = 0;
    // The mouse wheel turned: positive `lines` away from the player (the content moves up).
    virtual void wheel(float lines) = 0;
};

// Where the 480 x 320 landscape picture sits in a window of the given size, in window pixels.
struct Letterbox {
    float x = 0;
    float y = 0;  // from the top
    float width = 0;
    float height = 0;
};
[[nodiscard]] Letterbox letterboxFor(int windowWidth, int windowHeight);

struct ViewPoint {
    float x = 0;
    float y = 0;
};
// The portrait view point under a window pixel; none outside the picture.
[[nodiscard]] std::optional<ViewPoint> windowToView(float windowX, float windowY, int windowWidth,
                                                    int windowHeight);

struct WindowOptions {
    int scale = 2;
    bool fullscreen = false;
    std::string title = "Quintora";
    // A PNG file shown as the window's icon; none when empty or unreadable.
    std::string iconFile;
};

class Window : public Display {
  public:
    // Null, with the reason in *error, when no window can be opened (no display, no GL ES 1.1).
    static std::unique_ptr<Window> open(const WindowOptions& options, std::string* error);

    // Hands every pending event to the sink.
    virtual void pollEvents(InputSink& sink) = 0;
    virtual void toggleFullscreen() = 0;
    virtual void setTextInput(bool on) = 0;
};

}  // namespace quintora::platform
