#include "platform/Audio.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Resources.hpp"
#include "support/Files.hpp"

namespace quintora::platform {
namespace {

namespace fs = std::filesystem;
using testing::CapturedLog;

// The game's own sounds and music, and a broken sound, in a folder of their own.
class Audio : public ::testing::Test {
  public:
    void SetUp() override {
        ::setenv("SDL_AUDIODRIVER", "dummy",
                 1);  // plays in real time into nowhere: a device on every machine
        fs::create_directories(folder_);
        for (const char* name : {"win0.wav", "lose0.wav", "quintorabgm.mp3"}) {
            fs::copy_file(fs::path(QUINTORA_RESOURCES_DIR) / name, folder_ / name,
                          fs::copy_options::overwrite_existing);
        }
        std::ofstream(folder_ / "broken.wav", std::ios::binary) << "RIFF....WAVEnot really";
        previous_ = resourceDirectory();
        setResourceDirectory(folder_.string());
    }
    void TearDown() override {
        shutdownAudio();
        setResourceDirectory(previous_);
        fs::remove_all(folder_);
    }

    fs::path folder_ = fs::temp_directory_path() / ("quintora-audio-" + std::to_string(::getpid()));
    std::string previous_;
};

TEST_F(Audio, ASoundIsLoadedOncePerNameAndPlaysWithoutCuttingOffTheOthers) {
    ASSERT_TRUE(audioAvailable());
    const std::size_t loadedBefore = soundsLoaded();
    const auto first = SoundEffect::load("win0.wav");
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->name(), "win0.wav");
    EXPECT_EQ(SoundEffect::load("win0.wav"), first);
    // Hundreds of stage ends load and play the same few files without adding any.
    for (int stage = 0; stage < 300; ++stage)
        SoundEffect::load(stage % 2 == 0 ? "win0.wav" : "lose0.wav").value().play();
    EXPECT_EQ(soundsLoaded(), loadedBefore + 2);
    EXPECT_GT(soundsPlaying(), 1);
    EXPECT_LE(soundsPlaying(), 16);
}

TEST_F(Audio, MissingOrBrokenSoundsAreReportedAtEveryLoadAndMissingMusicIsNot) {
    CapturedLog log;
    for (int stageEnd = 0; stageEnd < 2; ++stageEnd) {
        EXPECT_FALSE(SoundEffect::load("nothere.wav").has_value());
        EXPECT_FALSE(SoundEffect::load("broken.wav").has_value());
    }
    EXPECT_FALSE(playMusic("nothere.mp3", 20));
    const std::string missing = "NSURL is nil for path: " + (folder_ / "nothere.wav").string();
    const std::string broken = "Error -1 loading sound at path: " + (folder_ / "broken.wav").string();
    EXPECT_EQ(log.messages(), (std::vector<std::string>{missing, broken, missing, broken}));
    EXPECT_EQ(soundsPlaying(), 0);
    EXPECT_FALSE(isMusicPlaying());
}

}  // namespace
}  // namespace quintora::platform
