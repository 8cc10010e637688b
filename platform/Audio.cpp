#include "platform/Audio.hpp"

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <vector>

#include "platform/Log.hpp"
#include "platform/Resources.hpp"

namespace quintora::platform {
namespace {

// Enough for every sound of a stage's end to overlap the next ones without cutting any off.
constexpr int channelCount = 16;

enum class DeviceState { Closed, Open, Silent, Disabled };

struct LoadedSound {
    std::string name;
    std::string path;
    Mix_Chunk* chunk = nullptr;  // null while silent, or after the device was closed
    bool undecodable = false;
};

struct AudioSystem {
    DeviceState state = DeviceState::Closed;
    // Indexed by SoundEffect handles; never shrinks, so a handle stays valid for the whole run.
    std::vector<LoadedSound> sounds;
    std::map<std::string, std::size_t, std::less<>> soundByName;
    Mix_Music* music = nullptr;
    bool loggedFullChannels = false;
    double volume = 1;
};

// Never destroyed: at exit SDL may already be shut down by the application, and freeing chunks then
// would call into it.
AudioSystem& audio() {
    static auto* system = new AudioSystem;
    return *system;
}

void applyVolume() {
    const int level = static_cast<int>(audio().volume * MIX_MAX_VOLUME + 0.5);
    Mix_Volume(-1, level);
    Mix_VolumeMusic(level);
}

bool openDevice() {
    AudioSystem& system = audio();
    if (system.state == DeviceState::Open) return true;
    if (system.state != DeviceState::Closed) return false;

    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        logf("audio: no audio device (%s); the game is silent", SDL_GetError());
        system.state = DeviceState::Silent;
        return false;
    }
    // Loads the mp3 decoder up front; without it the music alone fails, with its own log line.
    (void)Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        logf("audio: cannot open the audio device (%s); the game is silent", Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        system.state = DeviceState::Silent;
        return false;
    }
    Mix_AllocateChannels(channelCount);
    system.state = DeviceState::Open;
    applyVolume();
    return true;
}

bool isReadableFile(const std::string& path) { return ::access(path.c_str(), R_OK) == 0; }

// What the log reports for a sound file that exists but does not decode.
constexpr int kUndecodableSound = -1;

bool loadChunk(LoadedSound& sound) {
    sound.chunk = Mix_LoadWAV(sound.path.c_str());
    if (sound.chunk != nullptr) return true;
    logf("Error %d loading sound at path: %s", kUndecodableSound, sound.path.c_str());
    sound.undecodable = true;
    return false;
}

void closeDevice() {
    AudioSystem& system = audio();
    if (system.state == DeviceState::Open) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        if (system.music != nullptr) Mix_FreeMusic(system.music);
        system.music = nullptr;
        for (auto& sound : system.sounds) {
            if (sound.chunk != nullptr) Mix_FreeChunk(sound.chunk);
            sound.chunk = nullptr;
        }
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    system.loggedFullChannels = false;
}

}  // namespace

void disableAudio() {
    closeDevice();
    audio().state = DeviceState::Disabled;
}

bool audioAvailable() { return openDevice(); }

void setVolume(double fraction) {
    audio().volume = std::clamp(fraction, 0.0, 1.0);
    if (audio().state == DeviceState::Open) applyVolume();
}

double volume() { return audio().volume; }

void shutdownAudio() {
    closeDevice();
    if (audio().state != DeviceState::Disabled) audio().state = DeviceState::Closed;
}

std::optional<SoundEffect> SoundEffect::load(std::string_view resourceName) {
    AudioSystem& system = audio();
    if (const auto found = system.soundByName.find(resourceName); found != system.soundByName.end()) {
        return SoundEffect(found->second);
    }

    // A file that failed is tried, and reported, again at every load: it may have been put right since.
    LoadedSound sound{std::string(resourceName), resourcePath(resourceName)};
    if (!isReadableFile(sound.path)) {
        logf("NSURL is nil for path: %s", sound.path.c_str());
        return std::nullopt;
    }
    if (openDevice() && !loadChunk(sound)) return std::nullopt;
    system.sounds.push_back(std::move(sound));
    system.soundByName.emplace(resourceName, system.sounds.size() - 1);
    return SoundEffect(system.sounds.size() - 1);
}

void SoundEffect::play() const {
    if (!openDevice()) return;
    AudioSystem& system = audio();
    LoadedSound& sound = system.sounds[index_];
    if (sound.chunk == nullptr && (sound.undecodable || !loadChunk(sound))) return;
    if (Mix_PlayChannel(-1, sound.chunk, 0) < 0 && !system.loggedFullChannels) {
        logf("audio: every channel is busy; %s is not played (%s)", sound.name.c_str(), Mix_GetError());
        system.loggedFullChannels = true;
    }
}

const std::string& SoundEffect::name() const { return audio().sounds[index_].name; }

int soundsPlaying() { return audio().state == DeviceState::Open ? Mix_Playing(-1) : 0; }

std::size_t soundsLoaded() { return audio().sounds.size(); }

bool playMusic(std::string_view resourceName, int numberOfLoops) {
    const std::string path = resourcePath(resourceName);
    if (!openDevice()) {
        return isReadableFile(path);
    }
    AudioSystem& system = audio();
    Mix_HaltMusic();
    if (system.music != nullptr) Mix_FreeMusic(system.music);
    system.music = Mix_LoadMUS(path.c_str());
    if (system.music == nullptr) return false;
    // The mixer counts plays, not repeats (0 and 1 both play once), and -1 repeats until halted.
    const int plays = numberOfLoops < 0 || numberOfLoops == INT_MAX ? -1 : numberOfLoops + 1;
    return Mix_PlayMusic(system.music, plays) == 0;
}

void stopMusic() {
    if (audio().state == DeviceState::Open) Mix_HaltMusic();
}

bool isMusicPlaying() { return audio().state == DeviceState::Open && Mix_PlayingMusic() != 0; }

}  // namespace quintora::platform
