#include "platform/Audio.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Log.hpp"
#include "support/Files.hpp"
#include "platform/Resources.hpp"

namespace quintora::platform {
namespace {

namespace fs = std::filesystem;

void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFFu);
}

// A 16-bit mono PCM WAV holding a quiet square wave.
void writeWav(const fs::path& path, double seconds) {
    constexpr std::uint32_t rate = 22050;
    const auto samples = static_cast<std::uint32_t>(seconds * rate);
    std::string data;
    for (std::uint32_t i = 0; i < samples; ++i) putLittleEndian(data, (i / 25) % 2 == 0 ? 0x0400 : 0xFC00, 2);
    std::string file = "RIFF";
    putLittleEndian(file, static_cast<std::uint32_t>(36 + data.size()), 4);
    file += "WAVEfmt ";
    putLittleEndian(file, 16, 4);
    putLittleEndian(file, 1, 2);         // PCM
    putLittleEndian(file, 1, 2);         // mono
    putLittleEndian(file, rate, 4);
    putLittleEndian(file, rate * 2, 4);  // bytes per second
    putLittleEndian(file, 2, 2);         // bytes per frame
    putLittleEndian(file, 16, 2);        // bits per sample
    file += "data";
    putLittleEndian(file, static_cast<std::uint32_t>(data.size()), 4);
    file += data;
    std::ofstream(path, std::ios::binary) << file;
}

// MPEG-1 Layer III frames at 128 kbit/s and 44.1 kHz (417 bytes, 1152 samples each); all-zero side
// information decodes as silence, so the file is valid without an encoder.
void writeMp3(const fs::path& path, int frames) {
    std::string file;
    for (int i = 0; i < frames; ++i) {
        file += "\xFF\xFB\x90\x64";
        file.append(413, '\0');
    }
    std::ofstream(path, std::ios::binary) << file;
}

constexpr double secondsPerFrame = 1152.0 / 44100.0;

using testing::CapturedLog;

// Runs the checks in a child process, for states that cannot be undone in this one (audio switched off
// for good, another audio driver). The child reports the checks that failed through a pipe.
std::string failuresInChild(const std::function<std::string()>& checks) {
    int channel[2];
    if (::pipe(channel) != 0) return "pipe failed";
    const pid_t child = ::fork();
    if (child < 0) return "fork failed";
    if (child == 0) {
        ::close(channel[0]);
        const std::string failures = checks();
        (void)!::write(channel[1], failures.data(), failures.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string failures;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) failures.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) failures += " child did not exit normally";
    return failures;
}

class Audio : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "quintora-audio-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        writeWav(folder_ / "long.wav", 30.0);
        writeWav(folder_ / "short.wav", 0.05);
        writeMp3(folder_ / "music.mp3", 40);
        writeMp3(folder_ / "brief.mp3", 10);
        std::ofstream(folder_ / "broken.wav", std::ios::binary) << "RIFF....WAVEnot really";
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    void SetUp() override {
        // SDL's dummy driver plays in real time into nowhere: a device on every machine.
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        previousResources_ = resourceDirectory();
        setResourceDirectory(folder_.string());
    }
    void TearDown() override {
        shutdownAudio();
        setResourceDirectory(previousResources_);
    }

    static fs::path folder_;
    std::string previousResources_;
};

fs::path Audio::folder_;

TEST_F(Audio, ASoundIsLoadedOnceAndPlaysWithoutCuttingOffTheOthers) {
    ASSERT_TRUE(audioAvailable());
    const std::size_t loadedBefore = soundsLoaded();
    const auto first = SoundEffect::load("long.wav");
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->name(), "long.wav");
    const auto again = SoundEffect::load("long.wav");
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(*again, *first);
    EXPECT_EQ(soundsLoaded(), loadedBefore + 1);

    // A thirty-second sound started three times plays three times at once.
    first->play();
    again->play();
    first->play();
    EXPECT_EQ(soundsPlaying(), 3);

    // A long run: hundreds of stage ends load and play the same few files without adding any.
    const auto shortSound = SoundEffect::load("short.wav");
    ASSERT_TRUE(shortSound.has_value());
    const std::size_t loaded = soundsLoaded();
    for (int stage = 0; stage < 300; ++stage) {
        const auto sound = SoundEffect::load(stage % 2 == 0 ? "short.wav" : "long.wav");
        ASSERT_TRUE(sound.has_value());
        sound->play();
    }
    EXPECT_EQ(soundsLoaded(), loaded);
    EXPECT_LE(soundsPlaying(), 16);
}

TEST_F(Audio, MissingOrBrokenSoundFilesAreReportedAtEveryLoadAndGiveNoSound) {
    CapturedLog log;
    for (int stageEnd = 0; stageEnd < 2; ++stageEnd) {
        EXPECT_FALSE(SoundEffect::load("nothere.wav").has_value());
        EXPECT_FALSE(SoundEffect::load("broken.wav").has_value());
    }
    const std::string missing = "NSURL is nil for path: " + (folder_ / "nothere.wav").string();
    const std::string broken = "Error -1 loading sound at path: " + (folder_ / "broken.wav").string();
    EXPECT_EQ(log.messages(), (std::vector<std::string>{missing, broken, missing, broken}));
    EXPECT_EQ(soundsPlaying(), 0);
}

TEST_F(Audio, TheMusicPlaysAnMp3AndStopsWhenTold) {
    ASSERT_TRUE(playMusic("music.mp3", 20));
    EXPECT_TRUE(isMusicPlaying());
    stopMusic();
    EXPECT_FALSE(isMusicPlaying());

    ASSERT_TRUE(playMusic("music.mp3", -1));
    EXPECT_TRUE(isMusicPlaying());
    // New music replaces the old.
    ASSERT_TRUE(playMusic("brief.mp3", 0));
    EXPECT_TRUE(isMusicPlaying());

    CapturedLog log;
    EXPECT_FALSE(playMusic("nothere.mp3", 20));
    EXPECT_FALSE(isMusicPlaying());
    EXPECT_EQ(log.lines().size(), 0u) << "a missing piece of music is not reported";
}

TEST_F(Audio, TheLoopCountIsTheNumberOfRepeatsAfterTheFirstPlay) {
    // Two loops are three plays of a quarter-second piece. The device plays in real time, so the music
    // cannot end sooner than that however loaded the machine is; only that bound is asserted, and it is
    // beyond what two plays could last.
    constexpr int frames = 10;
    const double onePlay = frames * secondsPerFrame;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(playMusic("brief.mp3", 2));
    while (isMusicPlaying() && std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const double lasted = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_FALSE(isMusicPlaying());
    EXPECT_GT(lasted, 2.5 * onePlay);
}

TEST_F(Audio, WithAudioDisabledEveryCallIsAHarmlessNoOp) {
    shutdownAudio();
    const std::string failures = failuresInChild([] {
        std::string failed;
        CapturedLog log;
        disableAudio();
        if (audioAvailable()) failed += " device opened;";
        const auto sound = SoundEffect::load("short.wav");
        if (!sound) failed += " an existing sound did not load;";
        if (sound) sound->play();
        if (soundsPlaying() != 0) failed += " a sound plays;";
        if (SoundEffect::load("absent-while-disabled.wav")) failed += " a missing sound loaded;";
        if (!playMusic("music.mp3", 20)) failed += " existing music refused;";
        if (isMusicPlaying()) failed += " music plays;";
        if (playMusic("absent-while-disabled.mp3", 20)) failed += " missing music accepted;";
        stopMusic();
        if (log.lines().size() != 1) failed += " expected one line for the missing sound;";
        return failed;
    });
    EXPECT_EQ(failures, "");
}

TEST_F(Audio, WithoutADeviceTheGameIsSilentAfterOneLogLine) {
    shutdownAudio();
    const std::string failures = failuresInChild([] {
        std::string failed;
        ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
        CapturedLog log;
        if (audioAvailable()) failed += " device opened;";
        const auto sound = SoundEffect::load("long.wav");
        if (!sound) failed += " an existing sound did not load;";
        for (int i = 0; i < 10 && sound; ++i) sound->play();
        if (soundsPlaying() != 0) failed += " a sound plays;";
        if (!playMusic("music.mp3", 20)) failed += " existing music refused;";
        if (isMusicPlaying()) failed += " music plays;";
        const auto lines = log.lines();
        if (lines.size() != 1 || lines[0].find("silent") == std::string::npos) failed += " expected one line;";
        return failed;
    });
    EXPECT_EQ(failures, "");
}

}  // namespace
}  // namespace quintora::platform
