#pragma once
// The steering the tilt stages share. Each accelerometer sample sets the figure's step from the device's
// readings: the x reading moves it up and down the screen, the y reading across. A reading's gain starts
// at 2.0 and settles at 2.85 once the reading keeps its sign. Each tick scales the kept step by fifty
// and the figure moves by it, so a tick that had no fresh sample moves fifty times further again.
#include "engine/Accelerometer.hpp"
#include "engine/Geometry.hpp"

namespace quintora {

struct TiltSteering {
    float xaccel = 2.0f;
    float yaccel = 2.0f;
    float ballx = 0;  // the step up the screen, from the x reading
    float bally = 0;  // the step across the screen, from the y reading

    void sample(const Acceleration& acceleration);
    // Scales the kept step for this tick and returns it as a move on screen.
    [[nodiscard]] Point tickStep();
};

// A figure pushed past an edge comes back onto it.
[[nodiscard]] Point keptOnScreen(Point p);

}  // namespace quintora
