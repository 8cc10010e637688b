#pragma once
// What a game controller does in the game. Without an accelerometer of its own, its left stick (or the
// D-pad) tilts the device as the arrow keys do, a full push being a held key; its right stick moves a
// pointer across the screen and A touches where the pointer is; Start asks for a pause. The pointer is
// shown only while a controller is in use: from its first use until it is unplugged or the mouse is used.
#include <optional>
#include <vector>

#include "engine/Accelerometer.hpp"
#include "engine/Geometry.hpp"
#include "engine/Touch.hpp"
#include "platform/Controller.hpp"

namespace quintora {

class ControllerInput {
  public:
    // Points per second that a right stick pushed all the way moves the pointer.
    static constexpr float kPointerSpeed = 320;

    struct PointerTouch {
        TouchPhase phase;
        Point scenePoint;
    };
    struct Actions {
        std::optional<Acceleration> tilt;  // none: the controller does not tilt now
        std::vector<PointerTouch> touches;
        bool pause = false;
    };

    // One frame's reading, `dt` seconds after the last.
    [[nodiscard]] Actions update(const platform::ControllerState& state, double dt);
    // The mouse or a finger was used: the pointer goes away until the controller is used again.
    void otherInputUsed() { inUse_ = false; }

    [[nodiscard]] Point pointer() const { return pointer_; }
    [[nodiscard]] bool pointerShown() const { return inUse_; }

  private:
    Point pointer_{240, 160};
    bool inUse_ = false;
    bool touching_ = false;
    bool startHeld_ = false;
};

}  // namespace quintora
