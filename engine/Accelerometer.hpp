#pragma once
// The shared accelerometer: the platform feeds it samples between frames, and it hands each one to its
// delegate, if any. The delegate is not owned.
namespace quintora {

struct Acceleration {
    double x = 0;  // in units of gravity
    double y = 0;
    double z = 0;
    double timestamp = 0;
};

class Accelerometer;

class AccelerometerDelegate {
  public:
    virtual ~AccelerometerDelegate() = default;
    virtual void accelerometer(Accelerometer& accelerometer, const Acceleration& acceleration) = 0;
};

class Accelerometer {
  public:
    static Accelerometer& sharedAccelerometer();

    void setDelegate(AccelerometerDelegate* delegate) { delegate_ = delegate; }
    [[nodiscard]] AccelerometerDelegate* delegate() const { return delegate_; }

    void deliver(const Acceleration& acceleration) {
        if (delegate_) delegate_->accelerometer(*this, acceleration);
    }

  private:
    Accelerometer() = default;
    AccelerometerDelegate* delegate_ = nullptr;
};

}  // namespace quintora
