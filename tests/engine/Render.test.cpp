// Drawing through a real GL ES 1.1 context: pixels read back from the presented landscape frame.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/Errors.hpp"
#include "engine/IntervalAction.hpp"
#include "engine/Label.hpp"
#include "engine/Sprite.hpp"
#include "engine/SpriteBatch.hpp"
#include "engine/TextureMgr.hpp"
#include "support/GLTest.hpp"

namespace quintora {
namespace {

using testing::GLTest;
using testing::pixelAt;
using Colour = std::array<int, 3>;

bool near(Colour a, Colour b) {
    return std::abs(a[0] - b[0]) <= 16 && std::abs(a[1] - b[1]) <= 16 && std::abs(a[2] - b[2]) <= 16;
}

constexpr Colour kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0};

class RenderTest : public GLTest {
  public:
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

TEST_F(RenderTest, SpritesAreCentredOnTheirPositionStackedByZAndTintedOrHidden) {
    const std::string red = solidImage("red.png", 40, 20, {255, 0, 0, 255}),
                      green = solidImage("green.png", 40, 20, {0, 255, 0, 255});
    const std::string white = solidImage("white.png", 30, 30, {255, 255, 255, 255});
    sprite(red, {100, 200});
    sprite(green, {100, 100}, 2);
    sprite(red, {110, 100}, 1);  // lower z: under the green one although added later
    sprite(red, {300, 100});
    sprite(green, {310, 100});  // same z, added later: on top
    sprite(white, {50, 50})->setOpacity(0);
    sprite(white, {150, 50})->setRGB(255, 0, 0);
    sprite(white, {250, 50})->runAction(TintTo::actionWithDuration(0.01f, 0, 255, 0));
    frames(3);
    const platform::Bitmap shot = screen();
    ASSERT_EQ(shot.width, 480);
    ASSERT_EQ(shot.height, 320);
    const struct {
        int x, y;
        Colour colour;
    } expected[] = {{100, 200, kRed},   {81, 191, kRed},    {118, 208, kRed},   {77, 200, kBlack},
                    {123, 200, kBlack}, {100, 213, kBlack}, {100, 187, kBlack}, {105, 100, kGreen},
                    {125, 100, kRed},   {305, 100, kGreen}, {285, 100, kRed},   {50, 50, kBlack},
                    {150, 50, kRed},    {250, 50, kGreen}};
    for (const auto& e : expected) EXPECT_TRUE(near(pixelAt(shot, e.x, e.y), e.colour)) << e.x << ", " << e.y;
}

TEST_F(RenderTest, TexturesAreSharedByNameAndUnreadableImagesDrawNothing) {
    const std::string path = solidImage("shared.png", 16, 16, {255, 0, 0, 255});
    Ref<Sprite> first = sprite(path, {50, 50});
    EXPECT_EQ(sprite(path, {100, 50})->texture(), first->texture());
    TextureMgr::sharedTextureMgr().removeAllTextures();
    EXPECT_NE(sprite(path, {150, 50})->texture(), first->texture());
    std::ofstream(folder_ / "corrupt.png") << "\x89PNG\r\n\x1a\n but then nothing sensible";
    for (const std::string name : {"missing.png", "corrupt.png"}) {
        Ref<Sprite> broken = sprite((folder_ / name).string(), {240, 160});
        EXPECT_EQ(broken->texture(), nullptr);
        EXPECT_EQ(broken->contentSize(), (Size{0, 0}));
    }
    EXPECT_EQ(TextureMgr::sharedTextureMgr().count(), 1u) << "failures are not cached";
    frame();
    const platform::Bitmap shot = screen();
    EXPECT_TRUE(near(pixelAt(shot, 50, 50), kRed)) << "a dropped texture still draws for its sprites";
    EXPECT_TRUE(near(pixelAt(shot, 150, 50), kRed));
    EXPECT_TRUE(near(pixelAt(shot, 240, 160), kBlack));
    // Images past 1024 are halved; their sprites keep the halved size.
    Ref<Sprite> wide = Sprite::spriteWithFile(solidImage("wide.png", 2000, 10, {255, 0, 0, 255}));
    EXPECT_EQ(wide->texture()->pixelsWide(), 1024u);
    EXPECT_EQ(wide->contentSize(), (Size{1000, 5}));
}

// The sprite batch only saves draw calls: a scene of several textures interleaved by z, tinted, see-through
// and with a label, drawn quad by quad and through the batch, gives the same picture to the bit.
TEST_F(RenderTest, TheSpriteBatchDrawsTheSamePictureWithFewerCalls) {
    const std::string red = solidImage("red.png", 40, 20, {255, 0, 0, 255});
    const std::string glass = solidImage("glass.png", 30, 30, {0, 0, 255, 100});
    const std::string white = solidImage("white.png", 20, 20, {255, 255, 255, 255});
    for (int i = 0; i < 8; ++i) sprite(red, {40.0f + 50 * i, 60});
    for (int i = 0; i < 4; ++i) sprite(glass, {40.0f + 100 * i, 70}, 1);
    for (int i = 0; i < 4; ++i) sprite(white, {60.0f + 100 * i, 150}, 1)->setRGB(0, 255, 64 * i);
    Ref<Label> label = Label::labelWithString("42", "Marker Felt", 32);
    label->setPosition({240, 200});
    scene_->addChild(label.get(), 1);
    frame();
    SpriteBatch& batch = SpriteBatch::shared();
    std::size_t calls[2];
    platform::Bitmap shots[2];
    for (const bool batched : {false, true}) {
        batch.setEnabled(batched);
        batch.resetDrawCalls();
        director().redraw();
        calls[batched] = batch.drawCalls();
        shots[batched] = screen();
    }
    ASSERT_EQ(shots[0].pixels.size(), shots[1].pixels.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < shots[0].pixels.size(); ++i)
        differing += i % 4 != 3 && shots[0].pixels[i] != shots[1].pixels[i];
    EXPECT_EQ(differing, 0u);
    EXPECT_TRUE(near(pixelAt(shots[1], 90, 60), kRed));
    EXPECT_TRUE(near(pixelAt(shots[1], 60, 150), kGreen));
    EXPECT_LT(calls[1], calls[0]);
}

}  // namespace
}  // namespace quintora
