#include "flow/TiltSteering.hpp"

#include <cmath>

namespace quintora {
namespace {

// The whole part of the gain plus 0.85: 2.0 becomes 2.85, and 2.85 stays where it is.
float settledGain(float gain) { return std::copysign(std::trunc(std::fabs(gain)) + 0.85f, gain); }

}  // namespace

void TiltSteering::sample(const Acceleration& acceleration) {
    const auto x = static_cast<float>(acceleration.x);
    const auto y = static_cast<float>(acceleration.y);

    const int s1 = ballx < 0 ? 1 : -1;
    const int s2 = x > 0 ? -1 : 1;
    if (s1 == s2) xaccel = settledGain(xaccel);
    ballx = xaccel * x;

    const int s3 = bally < 0 ? 1 : -1;
    const int s4 = y < 0 ? -1 : 1;
    if (s3 == s4) yaccel = settledGain(yaccel);
    bally = -yaccel * y;
}

Point TiltSteering::tickStep() {
    ballx *= 50;
    bally *= 50;
    return {bally, ballx};
}

Point keptOnScreen(Point p) {
    if (p.x > 480) p.x = 480;
    if (p.x < 0) p.x = 0;
    if (p.y > 320) p.y = 320;
    if (p.y < 0) p.y = 0;
    return p;
}

}  // namespace quintora
