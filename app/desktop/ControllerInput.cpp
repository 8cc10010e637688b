#include "app/desktop/ControllerInput.hpp"

#include <algorithm>

#include "app/desktop/TiltStandIn.hpp"

namespace quintora {

ControllerInput::Actions ControllerInput::update(const platform::ControllerState& state, double dt) {
    Actions actions;
    if (!state.connected) {
        // Unplugged in the middle of a touch: the touch must still end, or the stage would wait for it.
        if (touching_) actions.touches.push_back({TouchPhase::Cancelled, pointer_});
        touching_ = false;
        startHeld_ = false;
        inUse_ = false;
        return actions;
    }
    const bool stickUsed = state.leftX != 0 || state.leftY != 0 || state.rightX != 0 || state.rightY != 0;
    const bool padUsed = state.up || state.down || state.left || state.right;
    if (stickUsed || padUsed || state.a || state.start) inUse_ = true;

    if (state.tilt) {
        actions.tilt = Acceleration{state.tilt->x, state.tilt->y, state.tilt->z, 0};
    } else if (state.leftX != 0 || state.leftY != 0 || padUsed) {
        // The phone's axes, as the arrow keys give them: pushing up tips x positive, right tips y negative.
        const double k = TiltStandIn::kKeyTilt;
        const double up = std::clamp(state.leftY + (state.up ? 1 : 0) - (state.down ? 1 : 0), -1.0, 1.0);
        const double right =
            std::clamp(state.leftX + (state.right ? 1 : 0) - (state.left ? 1 : 0), -1.0, 1.0);
        actions.tilt = Acceleration{up * k, -right * k, -1, 0};
    }

    const Point before = pointer_;
    const float step = kPointerSpeed * static_cast<float>(dt);
    pointer_.x = std::clamp(pointer_.x + static_cast<float>(state.rightX) * step, 0.0f, 479.0f);
    pointer_.y = std::clamp(pointer_.y + static_cast<float>(state.rightY) * step, 0.0f, 319.0f);
    if (state.a && !touching_) {
        actions.touches.push_back({TouchPhase::Began, pointer_});
    } else if (state.a && touching_ && !(pointer_ == before)) {
        actions.touches.push_back({TouchPhase::Moved, pointer_});
    } else if (!state.a && touching_) {
        actions.touches.push_back({TouchPhase::Ended, pointer_});
    }
    touching_ = state.a;

    actions.pause = state.start && !startHeld_;
    startHeld_ = state.start;
    return actions;
}

}  // namespace quintora
