#pragma once
// Game controllers. The first controller plugged in is the one read; when it is unplugged the next one
// connected takes over, and one plugged in later is picked up by the next poll. Main thread only.
#include <optional>
#include <string>

namespace quintora::platform {

// The device's tilt in units of gravity, on the axes of a phone held in landscape.
struct Tilt {
    double x = 0;
    double y = 0;
    double z = -1;
};

struct ControllerState {
    bool connected = false;
    std::string name;
    // Sticks from -1 to 1, x to the right and y up, with a small dead zone around the centre.
    double leftX = 0, leftY = 0;
    double rightX = 0, rightY = 0;
    bool up = false, down = false, left = false, right = false;  // the D-pad
    bool a = false;
    bool start = false;
    // The controller's own accelerometer, when it has one.
    std::optional<Tilt> tilt;
};

class Controllers {
  public:
    // Starts the controller support; when it cannot be started every poll reports nothing connected.
    Controllers();
    ~Controllers();
    Controllers(const Controllers&) = delete;
    Controllers& operator=(const Controllers&) = delete;

    // Takes note of controllers plugged in or out since the last poll and reads the one in use.
    [[nodiscard]] ControllerState poll();

  private:
    void close();
    void openFirst();

    bool started_ = false;
    void* controller_ = nullptr;  // SDL_GameController, kept out of this header
    bool hasAccelerometer_ = false;
};

}  // namespace quintora::platform
