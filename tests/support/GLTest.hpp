#pragma once
// Engine tests with real drawing: one headless GL ES 1.1 context for the whole test program, attached to
// the director, and helpers to make images and read back the presented landscape frame.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/Director.hpp"
#include "engine/EAGLView.hpp"
#include "platform/Display.hpp"
#include "platform/Image.hpp"
#include "support/EngineTest.hpp"

namespace quintora::testing {

// The colour at a scene point (origin lower left) of a landscape frame.
inline std::array<int, 3> pixelAt(const platform::Bitmap& shot, int sceneX, int sceneY) {
    const int row = shot.height - 1 - sceneY;
    const std::uint8_t* p = &shot.pixels[(static_cast<size_t>(row) * shot.width + sceneX) * 4];
    return {p[0], p[1], p[2]};
}

class GLTest : public EngineTest {
  public:
    void SetUp() override {
        EngineTest::SetUp();
        // One context for the whole program, never torn down: the GL driver stays loaded until the very
        // end, as it does in the game.
        static platform::Display* display = platform::openHeadlessDisplay(1).release();
        ASSERT_NE(display, nullptr) << "no headless GL ES 1.1 context";
        if (!director().isAttached()) director().attachInWindow(display);
        folder_ = std::filesystem::temp_directory_path() /
                  ("quintora-gl-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        EngineTest::TearDown();
        std::filesystem::remove_all(folder_);
    }

    // Writes a solid-coloured PNG of the given size and returns its path.
    std::string solidImage(const std::string& name, int width, int height, std::array<std::uint8_t, 4> rgba) {
        platform::Bitmap bitmap{width, height, {}};
        for (int i = 0; i < width * height; ++i)
            bitmap.pixels.insert(bitmap.pixels.end(), rgba.begin(), rgba.end());
        const std::string path = (folder_ / name).string();
        EXPECT_TRUE(platform::writePng(path, bitmap));
        return path;
    }

    // The presented frame, landscape, rows from the top.
    static platform::Bitmap screen() { return director().openGLView()->snapshotLandscape(); }

    std::filesystem::path folder_;
};

}  // namespace quintora::testing
