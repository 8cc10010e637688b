#include "platform/Controller.hpp"

#include <SDL.h>

#include <cmath>

#include "platform/Log.hpp"

namespace quintora::platform {
namespace {

// Sticks rest a little off centre; readings inside this fraction of full travel count as centred.
constexpr double kDeadZone = 0.15;

SDL_GameController* asController(void* controller) { return static_cast<SDL_GameController*>(controller); }

double axis(SDL_GameController* controller, SDL_GameControllerAxis which) {
    const double value = SDL_GameControllerGetAxis(controller, which) / 32767.0;
    if (std::fabs(value) < kDeadZone) return 0;
    // Rescaled so that travel starts from zero at the edge of the dead zone.
    const double magnitude = (std::fabs(value) - kDeadZone) / (1 - kDeadZone);
    return std::copysign(std::fmin(magnitude, 1.0), value);
}

bool pressed(SDL_GameController* controller, SDL_GameControllerButton button) {
    return SDL_GameControllerGetButton(controller, button) != 0;
}

}  // namespace

Controllers::Controllers() {
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!started_) logf("controller: no controller support (%s)", SDL_GetError());
}

Controllers::~Controllers() {
    close();
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Controllers::close() {
    if (controller_ == nullptr) return;
    SDL_GameControllerClose(asController(controller_));
    controller_ = nullptr;
    hasAccelerometer_ = false;
}

void Controllers::openFirst() {
    for (int i = 0; i < SDL_NumJoysticks() && controller_ == nullptr; ++i) {
        if (!SDL_IsGameController(i)) continue;
        SDL_GameController* controller = SDL_GameControllerOpen(i);
        if (controller == nullptr) continue;
        controller_ = controller;
        hasAccelerometer_ = SDL_GameControllerHasSensor(controller, SDL_SENSOR_ACCEL) &&
                            SDL_GameControllerSetSensorEnabled(controller, SDL_SENSOR_ACCEL, SDL_TRUE) == 0;
        const char* name = SDL_GameControllerName(controller);
        logf("controller: %s connected%s", name ? name : "a controller",
             hasAccelerometer_ ? ", tilting with its accelerometer" : "");
    }
}

ControllerState Controllers::poll() {
    ControllerState state;
    if (!started_) return state;
    SDL_GameControllerUpdate();
    if (controller_ != nullptr && !SDL_GameControllerGetAttached(asController(controller_))) {
        logf("controller: unplugged");
        close();
    }
    if (controller_ == nullptr) openFirst();
    if (controller_ == nullptr) return state;

    SDL_GameController* controller = asController(controller_);
    state.connected = true;
    if (const char* name = SDL_GameControllerName(controller)) state.name = name;
    // SDL's vertical axes grow downwards; ours grow upwards, as the scene's do.
    state.leftX = axis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    state.leftY = -axis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    state.rightX = axis(controller, SDL_CONTROLLER_AXIS_RIGHTX);
    state.rightY = -axis(controller, SDL_CONTROLLER_AXIS_RIGHTY);
    state.up = pressed(controller, SDL_CONTROLLER_BUTTON_DPAD_UP);
    state.down = pressed(controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    state.left = pressed(controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    state.right = pressed(controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    state.a = pressed(controller, SDL_CONTROLLER_BUTTON_A);
    state.start = pressed(controller, SDL_CONTROLLER_BUTTON_START);
    float acceleration[3] = {0, 0, 0};
    if (hasAccelerometer_ &&
        SDL_GameControllerGetSensorData(controller, SDL_SENSOR_ACCEL, acceleration, 3) == 0) {
        // The controller reports the force that holds it up, in metres per second squared, with x to the
        // right, y up out of its face and z towards the player; a phone reports where gravity pulls, with
        // its x axis up the screen and its y axis from right to left when held in landscape. Tipping the
        // far edge down must therefore give a positive x, and rolling to the right a negative y.
        constexpr double kGravity = 9.80665;
        state.tilt =
            Tilt{acceleration[2] / kGravity, acceleration[0] / kGravity, -acceleration[1] / kGravity};
    }
    return state;
}

}  // namespace quintora::platform
