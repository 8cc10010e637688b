#pragma once
// The application's hooks, called on the main thread by the application loop as the desktop reports
// launch, focus, memory pressure, clock jumps and quitting.
namespace quintora {

namespace platform {
class Display;
}

class QuintoraAppDelegate {
  public:
    void applicationDidFinishLaunching(platform::Display* window);
    void applicationWillResignActive();
    void applicationDidBecomeActive();
    void applicationDidReceiveMemoryWarning();
    void applicationWillTerminate();
    void applicationSignificantTimeChange();

    [[nodiscard]] platform::Display* window() const { return window_; }
    void setWindow(platform::Display* window) { window_ = window; }

  private:
    platform::Display* window_ = nullptr;  // owned by the application loop, which outlives the delegate's use
};

}  // namespace quintora
