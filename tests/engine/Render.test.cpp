// Drawing through a real GL ES 1.1 context: pixels read back from the presented landscape frame.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/Errors.hpp"
#include "engine/IntervalAction.hpp"
#include "engine/Label.hpp"
#include "engine/Sprite.hpp"
#include "engine/TextureMgr.hpp"
#include "support/GLTest.hpp"

namespace quintora {
namespace {

using testing::GLTest;
using testing::pixelAt;
using Colour = std::array<int, 3>;

bool near(Colour a, Colour b) {
    for (int i = 0; i < 3; ++i) {
        if (std::abs(a[i] - b[i]) > 16) return false;
    }
    return true;
}

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 255, 0};
constexpr Colour kWhite{255, 255, 255};

class RenderTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        TextureMgr::sharedTextureMgr().removeAllTextures();
        scene_ = runScene();
    }
    Ref<Sprite> sprite(const std::string& path, Point position, int z = 0) {
        Ref<Sprite> s = Sprite::spriteWithFile(path);
        s->setPosition(position);
        scene_->addChild(s.get(), z);
        return s;
    }
    Ref<Scene> scene_;
};

TEST_F(RenderTest, ASpriteIsCentredOnItsPosition) {
    sprite(solidImage("red.png", 40, 20, {255, 0, 0, 255}), {100, 200});
    frame();
    const platform::Bitmap shot = screen();
    ASSERT_EQ(shot.width, 480);
    ASSERT_EQ(shot.height, 320);
    EXPECT_TRUE(near(pixelAt(shot, 100, 200), kRed));
    EXPECT_TRUE(near(pixelAt(shot, 81, 191), kRed));   // just inside the lower-left corner
    EXPECT_TRUE(near(pixelAt(shot, 118, 208), kRed));  // just inside the upper-right corner
    EXPECT_TRUE(near(pixelAt(shot, 77, 200), kBlack));
    EXPECT_TRUE(near(pixelAt(shot, 123, 200), kBlack));
    EXPECT_TRUE(near(pixelAt(shot, 100, 213), kBlack));
    EXPECT_TRUE(near(pixelAt(shot, 100, 187), kBlack));
}

TEST_F(RenderTest, HigherZAndLaterEqualZDrawOnTop) {
    const std::string red = solidImage("red.png", 40, 40, {255, 0, 0, 255});
    const std::string green = solidImage("green.png", 40, 40, {0, 255, 0, 255});
    sprite(green, {100, 100}, 2);
    sprite(red, {110, 100}, 1);  // lower z: under the green one although added later
    sprite(red, {300, 100}, 0);
    sprite(green, {310, 100}, 0);  // same z, added later: on top
    frame();
    const platform::Bitmap shot = screen();
    EXPECT_TRUE(near(pixelAt(shot, 105, 100), kGreen));
    EXPECT_TRUE(near(pixelAt(shot, 125, 100), kRed));
    EXPECT_TRUE(near(pixelAt(shot, 305, 100), kGreen));
    EXPECT_TRUE(near(pixelAt(shot, 285, 100), kRed));
}

TEST_F(RenderTest, OpacityZeroHidesAndColourTintsTheImage) {
    const std::string white = solidImage("white.png", 30, 30, {255, 255, 255, 255});
    Ref<Sprite> hidden = sprite(white, {50, 50});
    hidden->setOpacity(0);
    Ref<Sprite> tinted = sprite(white, {150, 50});
    tinted->setRGB(255, 0, 0);
    Ref<Sprite> fading = sprite(white, {250, 50});
    fading->runAction(TintTo::actionWithDuration(0.01f, 0, 255, 0));
    frames(3);
    const platform::Bitmap shot = screen();
    EXPECT_TRUE(near(pixelAt(shot, 50, 50), kBlack));
    EXPECT_TRUE(near(pixelAt(shot, 150, 50), kRed));
    EXPECT_TRUE(near(pixelAt(shot, 250, 50), kGreen));
}

TEST_F(RenderTest, AFullScreenImageBecomesAPaddedTextureAndCoversTheScreen) {
    Ref<Sprite> background = sprite(solidImage("bg.png", 480, 320, {0, 255, 0, 255}), {240, 160});
    Texture2D* texture = background->texture();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->pixelsWide(), 512u);
    EXPECT_EQ(texture->pixelsHigh(), 512u);
    EXPECT_EQ(texture->contentSize(), (Size{480, 320}));
    EXPECT_FLOAT_EQ(texture->maxS(), 0.9375f);
    EXPECT_FLOAT_EQ(texture->maxT(), 0.625f);
    EXPECT_TRUE(texture->isOpaque());
    // A see-through picture over it is blended, an opaque one simply covers it.
    Ref<Sprite> glass = sprite(solidImage("glass.png", 40, 40, {255, 0, 0, 128}), {100, 100}, 1);
    EXPECT_FALSE(glass->texture()->isOpaque());
    frame();
    const Colour mixed = pixelAt(screen(), 100, 100);
    EXPECT_GT(mixed[0], 40);
    EXPECT_GT(mixed[1], 40) << "the green underneath shows through";
    const platform::Bitmap shot = screen();
    for (auto [x, y] : {std::pair{1, 1}, {478, 1}, {1, 318}, {478, 318}, {240, 160}}) {
        EXPECT_TRUE(near(pixelAt(shot, x, y), kGreen)) << x << "," << y;
    }
}

TEST_F(RenderTest, LargeImagesAreHalvedAndPowersOfTwoKept) {
    Ref<Sprite> wide = Sprite::spriteWithFile(solidImage("wide.png", 2000, 10, {255, 0, 0, 255}));
    ASSERT_NE(wide->texture(), nullptr);
    EXPECT_EQ(wide->texture()->pixelsWide(), 1024u);
    EXPECT_EQ(wide->texture()->pixelsHigh(), 8u);
    EXPECT_EQ(wide->contentSize(), (Size{1000, 5}));
    Ref<Sprite> square = Sprite::spriteWithFile(solidImage("square.png", 64, 64, {255, 0, 0, 255}));
    EXPECT_EQ(square->texture()->pixelsWide(), 64u);
    EXPECT_EQ(square->texture()->pixelsHigh(), 64u);
    EXPECT_EQ(square->transformAnchor(), (Point{32, 32}));
}

TEST_F(RenderTest, TexturesAreSharedByNameUntilTheCacheIsEmptied) {
    const std::string path = solidImage("shared.png", 16, 16, {255, 0, 0, 255});
    Ref<Sprite> first = sprite(path, {50, 50});
    Ref<Sprite> second = sprite(path, {100, 50});
    EXPECT_EQ(first->texture(), second->texture());
    EXPECT_EQ(TextureMgr::sharedTextureMgr().count(), 1u);
    TextureMgr::sharedTextureMgr().removeAllTextures();
    Ref<Sprite> third = sprite(path, {150, 50});
    EXPECT_NE(third->texture(), first->texture());
    frame();
    const platform::Bitmap shot = screen();
    EXPECT_TRUE(near(pixelAt(shot, 50, 50), kRed)) << "a dropped texture still draws for its sprites";
    EXPECT_TRUE(near(pixelAt(shot, 150, 50), kRed));
}

TEST_F(RenderTest, AnUnreadableImageGivesASpriteThatDrawsNothing) {
    const std::string missing = (folder_ / "missing.png").string();
    const std::string corrupt = (folder_ / "corrupt.png").string();
    std::ofstream(corrupt) << "\x89PNG\r\n\x1a\n but then nothing sensible";
    for (const std::string& path : {missing, corrupt}) {
        Ref<Sprite> broken = sprite(path, {240, 160});
        EXPECT_EQ(broken->texture(), nullptr);
        EXPECT_EQ(broken->contentSize(), (Size{0, 0}));
    }
    EXPECT_EQ(TextureMgr::sharedTextureMgr().count(), 0u) << "failures are not cached";
    frame();
    EXPECT_TRUE(near(pixelAt(screen(), 240, 160), kBlack));
}

// The horizontal extent of bright pixels in a band of rows of the frame.
std::pair<int, int> inkSpan(const platform::Bitmap& shot, int fromY, int toY) {
    int left = shot.width, right = -1;
    for (int y = fromY; y <= toY; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            if (pixelAt(shot, x, y)[0] > 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

TEST_F(RenderTest, ALabelStaysCentredWhenItsTextGrowsAndTakesItsColour) {
    Ref<Label> label = Label::labelWithString("1", "Marker Felt", 32);
    label->setPosition({240, 160});
    label->setRGB(255, 0, 0);
    scene_->addChild(label.get());
    frame();
    const auto [left1, right1] = inkSpan(screen(), 140, 180);
    ASSERT_LT(left1, right1) << "the label drew nothing";
    label->setString("100");
    frame();
    const platform::Bitmap shot = screen();
    const auto [left3, right3] = inkSpan(shot, 140, 180);
    EXPECT_GT(right3 - left3, 2 * (right1 - left1));
    EXPECT_NEAR((left3 + right3) / 2.0, 240, 4);
    EXPECT_NEAR((left1 + right1) / 2.0, 240, 4);
    // Red text: no green or blue ink anywhere.
    for (int x = left3; x <= right3; ++x) EXPECT_LT(pixelAt(shot, x, 160)[1], 64);

    Ref<Label> empty = Label::labelWithString("", "Marker Felt", 32);
    EXPECT_EQ(empty->contentSize().width, 0);
    EXPECT_THROW(Label::node(), EngineException);
}

}  // namespace
}  // namespace quintora
