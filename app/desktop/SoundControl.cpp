#include "app/desktop/SoundControl.hpp"

#include <charconv>
#include <string>

#include "engine/ColorRect.hpp"
#include "engine/Director.hpp"
#include "engine/Label.hpp"
#include "platform/Audio.hpp"
#include "platform/Log.hpp"
#include "platform/UserDefaults.hpp"

namespace quintora {
namespace {

constexpr const char* kFont = "Marker Felt";

}  // namespace

void SoundControl::load(bool startMuted) {
    platform::UserDefaults& defaults = platform::UserDefaults::standardUserDefaults();
    if (const auto stored = defaults.stringForKey(kVolumeKey)) {
        int value = 0;
        const auto [end, error] = std::from_chars(stored->data(), stored->data() + stored->size(), value);
        if (error == std::errc() && end == stored->data() + stored->size() && value >= 0 && value <= kSteps) {
            volume_ = value;
        }
    }
    muted_ = defaults.stringForKey(kMutedKey) == "1";
    if (startMuted && !muted_) {
        muted_ = true;
        defaults.setObject("1", kMutedKey);
    }
    apply();
}

void SoundControl::toggleMute(double now) {
    muted_ = !muted_;
    changed(now);
}

void SoundControl::quieter(double now) {
    if (volume_ > 0) --volume_;
    muted_ = false;  // turning the sound down or up is a wish to hear it
    changed(now);
}

void SoundControl::louder(double now) {
    if (volume_ < kSteps) ++volume_;
    muted_ = false;
    changed(now);
}

void SoundControl::apply() const {
    platform::setVolume(muted_ ? 0.0 : static_cast<double>(volume_) / kSteps);
}

void SoundControl::changed(double now) {
    apply();
    platform::UserDefaults& defaults = platform::UserDefaults::standardUserDefaults();
    // A store that cannot be written keeps the setting for this run only; the defaults log why.
    defaults.setObject(std::to_string(volume_), kVolumeKey);
    defaults.setObject(muted_ ? "1" : "0", kMutedKey);
    platform::logf("sound: %s, volume %d of %d", muted_ ? "muted" : "on", volume_, kSteps);
    showIndicator(now);
}

void SoundControl::showIndicator(double now) {
    Director& director = Director::sharedDirector();
    if (indicator_) director.removeOverlay(indicator_.get());
    // A panel at the top centre: the word, then one segment per step, lit up to the volume.
    constexpr float kWidth = 190, kHeight = 58, kTop = 312;
    const float left = 240 - kWidth / 2, bottom = kTop - kHeight;
    Ref<Node> panel = Node::node();
    panel->addChild(colorRect({{left - 2, bottom - 2}, {kWidth + 4, kHeight + 4}}, 215, 225, 245, 230).get(),
                    0);
    panel->addChild(colorRect({{left, bottom}, {kWidth, kHeight}}, 34, 48, 92, 235).get(), 1);
    Ref<Label> label = Label::labelWithString(muted_ ? "Sound off" : "Volume", kFont, 20);
    label->setRGB(255, 255, 255);
    label->setPosition({240, kTop - 17});
    panel->addChild(label.get(), 2);
    constexpr float kSegment = 14, kGap = 3;
    const float segmentsLeft = 240 - (kSteps * kSegment + (kSteps - 1) * kGap) / 2;
    for (int i = 0; i < kSteps; ++i) {
        const bool lit = !muted_ && i < volume_;
        const float height = 6 + 1.2f * static_cast<float>(i);
        const Rect segment{{segmentsLeft + static_cast<float>(i) * (kSegment + kGap), bottom + 8},
                           {kSegment, height}};
        Ref<Sprite> bar = lit ? colorRect(segment, 255, 196, 64) : colorRect(segment, 90, 104, 150);
        panel->addChild(bar.get(), 2);
    }
    indicator_ = panel;
    director.addOverlay(indicator_.get());
    hideAt_ = now + kShowFor;
}

void SoundControl::update(double now) {
    if (!indicator_ || now < hideAt_) return;
    Director::sharedDirector().removeOverlay(indicator_.get());
    indicator_ = nullptr;
}

}  // namespace quintora
