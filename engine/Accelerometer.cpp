#include "engine/Accelerometer.hpp"

namespace quintora {

Accelerometer& Accelerometer::sharedAccelerometer() {
    static Accelerometer instance;
    return instance;
}

}  // namespace quintora
