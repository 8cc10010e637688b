#pragma once
// The player's sound setting: muted or not, and a volume in steps. It is kept in the defaults store, so a
// muted game starts muted next time, and a small indicator shows it for a second whenever it changes.
#include "engine/Node.hpp"

namespace quintora {

class SoundControl {
  public:
    static constexpr int kSteps = 10;
    static constexpr const char* kVolumeKey = "SoundVolume";
    static constexpr const char* kMutedKey = "SoundMuted";
    // How long the indicator stays up after a change, in seconds.
    static constexpr double kShowFor = 1.0;

    // Reads the stored setting (full volume, not muted, when there is none or it is damaged) and applies
    // it; startMuted mutes, and keeps that for later runs as M would.
    void load(bool startMuted);

    // The keys M, - and +. `now` is the clock in seconds, to time the indicator.
    void toggleMute(double now);
    void quieter(double now);
    void louder(double now);

    // Takes the indicator down once its second is over.
    void update(double now);

    [[nodiscard]] bool muted() const { return muted_; }
    [[nodiscard]] int volume() const { return volume_; }
    [[nodiscard]] bool indicatorShown() const { return indicator_ != nullptr; }

  private:
    void apply() const;
    void changed(double now);
    void showIndicator(double now);

    int volume_ = kSteps;
    bool muted_ = false;
    Ref<Node> indicator_;
    double hideAt_ = 0;
};

}  // namespace quintora
