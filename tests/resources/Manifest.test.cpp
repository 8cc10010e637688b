// The resource folder against what the game needs: every listed file is there and its library reads it,
// and the spot-the-difference drawings differ where the stage looks.
#include <gtest/gtest.h>

#include <algorithm>
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

const std::filesystem::path kDir = QUINTORA_RESOURCES_DIR;

platform::Bitmap picture(const std::string& name) {
    return platform::decodePng((kDir / name).string()).value_or(platform::Bitmap{});
}

class ResourceFiles : public ::testing::Test {
public:
    void SetUp() override {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);  // a device on every machine, playing into nowhere
        platform::setResourceDirectory(kDir.string());
    }
};

TEST_F(ResourceFiles, EveryListedFileIsReadByItsLibrary) {
    ASSERT_TRUE(platform::audioAvailable());
    testing::CapturedLog log;
    std::istringstream list(testing::readFile(kDir / "expected.txt"));
    int listed = 0;
    for (std::string name; std::getline(list, name);) {
        while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
        if (name.empty() || name[0] == '#') continue;
        SCOPED_TRACE(name);
        ++listed;
        const std::string ext = std::filesystem::path(name).extension().string();
        ASSERT_TRUE(std::filesystem::is_regular_file(kDir / name));
        if (ext == ".png") {
            EXPECT_GT(picture(name).width, 0);
        } else if (ext == ".wav") {
            EXPECT_TRUE(platform::SoundEffect::load(name).has_value());
        } else if (ext == ".mp3") {
            EXPECT_TRUE(platform::playMusic(name, 0));
        }
    }
    EXPECT_GT(listed, 150) << "resources/expected.txt is missing or nearly empty";
    platform::stopMusic();
    // The game's font, as the font table names it, draws text without falling back.
    EXPECT_GT(platform::measureText("Quintora", "Marker Felt", 20).width, 0);
    EXPECT_EQ(log.text(), "") << "nothing failed to load or fell back";
}

// The two 240 x 320 drawings of each picture differ only inside the spot the stage accepts (origin lower
// left; the right-hand copy is the same moved 240 to the right).
TEST_F(ResourceFiles, SpotTheDifferenceDrawingsDifferOnlyInsideTheSpot) {
    const struct {
        const char* name;
        int x, y, w, h;
    } pictures[] = {{"differente1.png", 30, 230, 40, 40},  {"differente2.png", 70, 180, 25, 80}, {"differente3.png", 40, 180, 30, 30},
                    {"differentm1.png", 190, 105, 30, 30}, {"differentm2.png", 205, 180, 40, 40}, {"differentm3.png", 205, 150, 40, 40},
                    {"differenth1.png", 100, 240, 40, 40}, {"differenth2.png", 220, 140, 40, 40}, {"differenth3.png", 10, 70, 40, 40}};
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.name);
        const platform::Bitmap image = picture(p.name);
        ASSERT_EQ(image.width, 480);
        ASSERT_EQ(image.height, 320);
        int inside = 0, outside = 0;
        for (int row = 0; row < 320; ++row) {
            for (int x = 0; x < 240; ++x) {
                const std::uint8_t* a = &image.pixels[(static_cast<std::size_t>(row) * 480 + x) * 4];
                int diff = 0;
                for (int k = 0; k < 4; ++k) diff = std::max(diff, std::abs(a[k] - a[240 * 4 + k]));
                if (diff <= 24) continue;
                const int sceneY = 319 - row;
                const bool in = x >= p.x && x < p.x + p.w && sceneY >= p.y && sceneY < p.y + p.h;
                (in ? inside : outside) += 1;
            }
        }
        EXPECT_GE(inside, 20) << "the two drawings hardly differ inside the spot";
        EXPECT_EQ(outside, 0) << "the drawings also differ outside the spot";
    }
}

}  // namespace
}  // namespace quintora
