// A game controller through SDL's virtual joystick: no hardware needed.
#include "platform/Controller.hpp"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/desktop/ControllerInput.hpp"

namespace quintora {
namespace {

class Controller : public ::testing::Test {
  protected:
    void SetUp() override {
        controllers_ = std::make_unique<platform::Controllers>();
        plugIn();
    }
    void TearDown() override {
        unplug();
        controllers_.reset();
        SDL_Quit();
    }
    void plugIn() {
        device_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                            SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(device_, 0) << SDL_GetError();
        joystick_ = SDL_JoystickOpen(device_);
        ASSERT_NE(joystick_, nullptr) << SDL_GetError();
    }
    void unplug() {
        if (joystick_ == nullptr) return;
        SDL_JoystickClose(joystick_);
        SDL_JoystickDetachVirtual(device_);
        joystick_ = nullptr;
    }
    // Sets every axis and button at once: a reading of the pad.
    void hold(Sint16 leftX, Sint16 leftY, std::initializer_list<SDL_GameControllerButton> buttons) {
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, leftX);
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, leftY);
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
            SDL_JoystickSetVirtualButton(joystick_, b, std::ranges::count(buttons, b) > 0 ? 1 : 0);
    }
    ControllerInput::Actions step(double dt = 0) { return input_.update(controllers_->poll(), dt); }

    std::unique_ptr<platform::Controllers> controllers_;
    ControllerInput input_;
    int device_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

TEST_F(Controller, TheLeftStickAndTheDPadTiltAsTheArrowKeysDo) {
    const double k = 0.5;  // a full push is a held arrow key
    const auto none = SDL_CONTROLLER_BUTTON_INVALID;
    const struct {
        const char* name;
        Sint16 leftX, leftY;
        SDL_GameControllerButton button;
        double x, y;
    } cases[] = {{"stick right", 32767, 0, none, 0, -k},
                 {"stick up", 0, -32768, none, k, 0},
                 {"stick half left, inside its travel", -16384, 0, none, 0, k * (0.5 - 0.15) / 0.85},
                 {"D-pad down", 0, 0, SDL_CONTROLLER_BUTTON_DPAD_DOWN, -k, 0},
                 {"D-pad left", 0, 0, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, k}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        hold(c.leftX, c.leftY, {c.button});
        const ControllerInput::Actions actions = step();
        ASSERT_TRUE(actions.tilt.has_value());
        EXPECT_NEAR(actions.tilt->x, c.x, 0.01);
        EXPECT_NEAR(actions.tilt->y, c.y, 0.02);
        EXPECT_DOUBLE_EQ(actions.tilt->z, -1);
    }
    hold(1000, -1000, {});  // resting slightly off centre
    EXPECT_FALSE(step().tilt.has_value()) << "a stick at rest leaves the tilt to the keys";
}

TEST_F(Controller, UnpluggedMidTouchTheTouchIsCancelledAndAControllerPluggedInLaterIsUsed) {
    hold(0, 0, {SDL_CONTROLLER_BUTTON_A});
    ASSERT_EQ(step().touches.size(), 1u);
    unplug();
    const ControllerInput::Actions gone = step();
    ASSERT_EQ(gone.touches.size(), 1u);
    EXPECT_EQ(gone.touches[0].phase, TouchPhase::Cancelled);
    EXPECT_FALSE(gone.tilt.has_value());
    EXPECT_FALSE(input_.pointerShown());
    EXPECT_FALSE(controllers_->poll().connected);

    plugIn();
    hold(32767, 0, {});
    const platform::ControllerState state = controllers_->poll();
    EXPECT_TRUE(state.connected);
    EXPECT_DOUBLE_EQ(state.leftX, 1);
}

}  // namespace
}  // namespace quintora
