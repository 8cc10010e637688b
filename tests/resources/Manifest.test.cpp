// The resource folder against what the game needs: every listed file is there and its library reads it,
// every numbered family is complete, and the pictures the screens place fit them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Audio.hpp"
#include "platform/Font.hpp"
#include "platform/Image.hpp"
#include "platform/Resources.hpp"
#include "support/Files.hpp"

namespace quintora {
namespace {

const std::filesystem::path kDir = QUINTORA_RESOURCES_DIR;

std::vector<std::string> expectedFiles() {
    std::vector<std::string> names;
    std::istringstream in(testing::readFile(kDir / "expected.txt"));
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty() && line[0] != '#') names.push_back(line);
    }
    return names;
}

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
    const std::vector<std::string> names = expectedFiles();
    ASSERT_GT(names.size(), 150u) << "resources/expected.txt is missing or nearly empty";
    ASSERT_TRUE(platform::audioAvailable());
    testing::CapturedLog log;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string ext = std::filesystem::path(name).extension().string();
        ASSERT_TRUE(std::filesystem::is_regular_file(kDir / name));
        if (ext == ".png") EXPECT_GT(picture(name).width, 0);
        if (ext == ".wav") EXPECT_TRUE(platform::SoundEffect::load(name).has_value());
        if (ext == ".mp3") EXPECT_TRUE(platform::playMusic(name, 0));
    }
    platform::stopMusic();
    // The game's font, as the font table names it, draws text without falling back.
    EXPECT_GT(platform::measureText("Quintora", "Marker Felt", 20).width, 0);
    EXPECT_EQ(log.text(), "") << "nothing failed to load or fell back";
}

TEST_F(ResourceFiles, EveryNumberedFamilyIsComplete) {
    const std::vector<std::string> names = expectedFiles();
    const struct {
        const char *prefix, *suffix;
        int from, to;
    } families[] = {{"gamewin", ".png", 0, 4},     {"gamelose", ".png", 0, 4}, {"samegrimsmall", ".png", 1, 8},
                    {"samegrim", ".png", 1, 8},    {"mathnumber", ".png", 1, 10}, {"xmas", ".png", 0, 12},
                    {"cardspeed", ".png", 1, 5},   {"phonenumber", ".png", 0, 9}, {"tshirts", ".png", 0, 4},
                    {"tshirts", "small.png", 0, 4}, {"win", ".wav", 0, 1},      {"lose", ".wav", 0, 1}};
    for (const auto& f : families) {
        for (int i = f.from; i <= f.to; ++i) {
            const std::string name = f.prefix + std::to_string(i) + f.suffix;
            EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
        }
    }
}

// The two 240 x 320 drawings of each picture differ only inside the spot the stage accepts (origin lower
// left; the right-hand copy is the same moved 240 to the right).
TEST_F(ResourceFiles, SpotTheDifferenceDrawingsDifferOnlyInsideTheSpot) {
    const struct {
        const char* name;
        int x, y, w, h;
    } pictures[] = {{"differente1.png", 30, 230, 40, 40},  {"differente2.png", 70, 180, 25, 80},
                    {"differente3.png", 40, 180, 30, 30},  {"differentm1.png", 190, 105, 30, 30},
                    {"differentm2.png", 205, 180, 40, 40}, {"differentm3.png", 205, 150, 40, 40},
                    {"differenth1.png", 100, 240, 40, 40}, {"differenth2.png", 220, 140, 40, 40},
                    {"differenth3.png", 10, 70, 40, 40}};
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

TEST_F(ResourceFiles, FullScreenPicturesAre480By320) {
    for (const char* name : {"logo.png", "mainbg.png", "board.png", "hambg.png", "samegrimbg.png", "mathbg.png",
                             "dontouch.png", "golfbg.png", "fw1bg.png", "fw2bg.png", "fw3bg.png", "ptbg.png",
                             "stopcarbg.png", "xmasclick.png", "sparkmovebg.png", "gameatbg.png",
                             "cardspeedbg.png", "phonenumberbg.png", "baseballbg.png", "tshirtsbg.png"}) {
        const platform::Bitmap image = picture(name);
        EXPECT_TRUE(image.width == 480 && image.height == 320) << name;
    }
}

}  // namespace
}  // namespace quintora
