#pragma once
// Where a key goes. A name being typed takes every key; then the desktop's own keys (pause, sound, help,
// practice); then the start-up logo, which any key ends; then the running scene (menus, keypads); what is
// left tilts the device or answers an alert or the name field.
#include "app/desktop/PauseControl.hpp"
#include "app/desktop/SoundControl.hpp"
#include "app/desktop/TiltStandIn.hpp"
#include "platform/Window.hpp"

namespace quintora {

class KeyRouter {
  public:
    KeyRouter(PauseControl& pause, SoundControl& sound, TiltStandIn& tilt)
        : pause_(pause), sound_(sound), tilt_(tilt) {}

    // A key went down or up; `now` is the game's clock, for the volume indicator.
    void key(platform::Key key, bool pressed, double now);

  private:
    // Keys that belong to the desktop game rather than to the phone's: pause, sound, help, practice. True
    // when the key was taken.
    bool desktopKey(platform::Key key, double now);

    PauseControl& pause_;
    SoundControl& sound_;
    TiltStandIn& tilt_;
};

}  // namespace quintora
