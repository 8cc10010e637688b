#include "app/desktop/SoundControl.hpp"

#include <charconv>
#include <string>

#include "engine/Director.hpp"
#include "engine/Sprite.hpp"
#include "platform/Audio.hpp"
#include "platform/Log.hpp"
#include "platform/UserDefaults.hpp"

namespace quintora {
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
    // A panel at the top centre: the word, then one step per volume step, lit up to the volume.
    constexpr float kTop = 312;
    Ref<Node> panel = Node::node();
    Ref<Sprite> board = Sprite::spriteWithFile(muted_ ? "soundoffpanel.png" : "volumepanel.png");
    const float height = board->contentSize().height;
    board->setPosition({240, kTop - height / 2});
    panel->addChild(board.get(), 0);
    constexpr float kStep = 14, kGap = 3;
    const float stepsLeft = 240 - (kSteps * kStep + (kSteps - 1) * kGap) / 2;
    for (int i = 0; i < kSteps; ++i) {
        const bool lit = !muted_ && i < volume_;
        Ref<Sprite> step = Sprite::spriteWithFile(lit ? "volumeon.png" : "volumeoff.png");
        step->setPosition(
            {stepsLeft + kStep / 2 + static_cast<float>(i) * (kStep + kGap), kTop - height + 16});
        panel->addChild(step.get(), 1);
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
