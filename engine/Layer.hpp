#pragma once
#include "engine/Accelerometer.hpp"
#include "engine/Node.hpp"
#include "engine/Touch.hpp"

namespace quintora {

// A full-screen node that may take touches and accelerometer samples while it is in the running scene.
class Layer : public Node, public TouchEventsDelegate, public AccelerometerDelegate {
    QUINTORA_NODE(Layer)
  public:
    ~Layer() override;
    void init() override;
    void onEnter() override;
    void onExit() override;

    void accelerometer(Accelerometer&, const Acceleration&) override {}

    [[nodiscard]] bool isTouchEnabled() const { return isTouchEnabled_; }
    void setIsTouchEnabled(bool enabled) { isTouchEnabled_ = enabled; }
    [[nodiscard]] bool isAccelerometerEnabled() const { return isAccelerometerEnabled_; }
    void setIsAccelerometerEnabled(bool enabled) { isAccelerometerEnabled_ = enabled; }

  protected:
    Layer() = default;

  private:
    bool isTouchEnabled_ = false;
    bool isAccelerometerEnabled_ = false;
};

}  // namespace quintora
