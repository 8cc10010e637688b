#pragma once
// How the player plays, as the stages and screens see it: the keys a screen takes, and whether a game
// controller is in use (the stages word their instructions for it). The application's desktop controls
// feed both.
#include "platform/Window.hpp"

namespace quintora {

// A layer that takes the keys no text field, alert or desktop shortcut took: the menus move their focus,
// the keypads type.
class KeyReceiver {
  public:
    virtual ~KeyReceiver() = default;
    // True when the key did something here.
    virtual bool keyPressed(platform::Key key) = 0;
};

// Whether the player is using a game controller now rather than the mouse and keyboard.
[[nodiscard]] bool controllerInUse();
void setControllerInUse(bool inUse);

}  // namespace quintora
