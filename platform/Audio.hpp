#pragma once
// Short sounds and the one piece of background music. Main thread only.
//
// The audio device is opened on the first call that needs it. When there is none (or audio is disabled
// for a headless run) one line is logged and everything here stays silent: sounds still load and play as
// no-ops, so the game behaves the same with or without a device.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quintora::platform {

// Keeps the audio device closed for the rest of the run, closing it if it is open. Headless runs call it
// before anything else.
void disableAudio();

// The loudness of every sound and of the music, from 0 (nothing heard) to 1 (full). Kept while the device
// is closed and applied whenever it opens, so it may be set before any sound plays, or with no device.
void setVolume(double fraction);
[[nodiscard]] double volume();

// Opens the device when it is not open yet; false when the game is silent.
[[nodiscard]] bool audioAvailable();

// Stops every sound and the music, frees them and closes the device; the next call that needs the device
// opens it again (unless audio is disabled). Handles made before stay valid and load their files afresh.
void shutdownAudio();

// A short sound, loaded once per resource name for the whole run: loading "win0.wav" again returns the
// same sound without reading the file, so a long run does not grow with every stage. Copies are cheap
// and share the sound.
class SoundEffect {
  public:
    // The sound in the named resource file (a WAV), or nothing with a log line when the file is missing
    // or cannot be decoded; a name that failed is tried, and reported, again at its next load.
    [[nodiscard]] static std::optional<SoundEffect> load(std::string_view resourceName);

    // Starts the sound on a free channel and returns at once; sounds already playing play on. When all
    // channels are busy the new sound is dropped.
    void play() const;

    [[nodiscard]] const std::string& name() const;

    bool operator==(const SoundEffect&) const = default;

  private:
    explicit SoundEffect(std::size_t index) : index_(index) {}
    std::size_t index_;
};

// How many sounds are playing now.
[[nodiscard]] int soundsPlaying();

// How many different sound files have been loaded in this run.
[[nodiscard]] std::size_t soundsLoaded();

// Plays the named resource file (an mp3) as the music, once and then numberOfLoops times more: 20 plays it
// 21 times in all, 0 once; a negative number repeats it until stopped. Music already playing is replaced.
// False, without a log line, when the file cannot be opened; true when silent without a device.
bool playMusic(std::string_view resourceName, int numberOfLoops);

void stopMusic();

[[nodiscard]] bool isMusicPlaying();

}  // namespace quintora::platform
