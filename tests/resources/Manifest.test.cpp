// The resource folder against what the game needs: every file it lists is there and is read by the
// library that reads it in play. Coverage cannot see a missing or broken picture; this can.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "platform/Audio.hpp"
#include "platform/Font.hpp"
#include "platform/Image.hpp"
#include "platform/Resources.hpp"
#include "support/Files.hpp"

namespace quintora {
namespace {

TEST(ResourceFiles, EveryListedFileIsReadByItsLibrary) {
    const std::filesystem::path dir = QUINTORA_RESOURCES_DIR;
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);  // a device on every machine, playing into nowhere
    platform::setResourceDirectory(dir.string());
    ASSERT_TRUE(platform::audioAvailable());
    testing::CapturedLog log;
    std::istringstream list(testing::readFile(dir / "expected.txt"));
    int listed = 0;
    for (std::string name; std::getline(list, name);) {
        if (name.empty() || name[0] == '#') continue;
        SCOPED_TRACE(name);
        ++listed;
        const std::string extension = std::filesystem::path(name).extension().string();
        ASSERT_TRUE(std::filesystem::is_regular_file(dir / name));
        if (extension == ".png") {
            EXPECT_GT(platform::decodePng((dir / name).string()).value_or(platform::Bitmap{}).width, 0);
        } else if (extension == ".wav") {
            EXPECT_TRUE(platform::SoundEffect::load(name).has_value());
        } else if (extension == ".mp3") {
            EXPECT_TRUE(platform::playMusic(name, 0));
        }
    }
    EXPECT_GT(listed, 150) << "resources/expected.txt is missing or nearly empty";
    platform::stopMusic();
    // The game's font, as the font table names it, draws text without falling back.
    EXPECT_GT(platform::measureText("Quintora", "Marker Felt", 20).width, 0);
    EXPECT_EQ(log.text(), "") << "nothing failed to load or fell back";
}

}  // namespace
}  // namespace quintora
