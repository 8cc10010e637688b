#pragma once
// The device's tilt without a device: the arrow keys (or WASD) tilt it while they are held. The readings
// are those of a phone held in landscape, whose own x axis runs up the screen and whose y axis runs from
// right to left: Right gives a negative y, Up a positive x, so that Right moves things right on screen and
// Up moves them up.
#include "engine/Accelerometer.hpp"

namespace quintora {

class TiltStandIn {
  public:
    // How far a held key tilts the device, in units of gravity. At half a g a player steers the golf ball
    // round the bunker, dodges the sparks and eats every gum in time, with about a second to spare for
    // reacting; weaker tilts leave some layouts unwinnable, stronger ones make the figure overshoot.
    static constexpr double kKeyTilt = 0.5;

    void setRight(bool held) { right_ = held; }
    void setLeft(bool held) { left_ = held; }
    void setUp(bool held) { up_ = held; }
    void setDown(bool held) { down_ = held; }

    [[nodiscard]] Acceleration sample() const {
        Acceleration a;
        a.x = (up_ ? kKeyTilt : 0) - (down_ ? kKeyTilt : 0);
        a.y = (left_ ? kKeyTilt : 0) - (right_ ? kKeyTilt : 0);
        a.z = -1;
        return a;
    }

  private:
    bool right_ = false, left_ = false, up_ = false, down_ = false;
};

}  // namespace quintora
