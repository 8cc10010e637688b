// N moving 32 x 32 sprites drawn by the engine in a 480 x 320 window, as fast as frames can be drawn and
// presented, for comparison with SDL2's testsprite2 (bench/sprites-vs-sdl.sh). Prints the frame rate of
// every second, then the one of the whole run.
// Usage: sprite_window N [SECONDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/Director.hpp"
#include "engine/Scene.hpp"
#include "engine/Sprite.hpp"
#include "platform/Image.hpp"
#include "platform/Window.hpp"

namespace {

using namespace quintora;
using Clock = std::chrono::steady_clock;

struct IgnoreInput final : platform::InputSink {
    bool quit = false;
    void touch(platform::InputPhase, long, float, float) override {}
    void key(platform::Key, bool) override {}
    void text(std::string_view) override {}
    void focusChanged(bool) override {}
    void quitRequested() override { quit = true; }
    void lowMemory() override {}
    void wheel(float) override {}
};

// A 32 x 32 picture with a transparent surround, so that drawing it blends as testsprite2's does.
std::string writeSpriteImage() {
    platform::Bitmap image;
    image.width = image.height = 32;
    image.pixels.resize(32 * 32 * 4);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            std::uint8_t* p = &image.pixels[static_cast<size_t>(y * 32 + x) * 4];
            const int dx = x - 16, dy = y - 16;
            const bool inside = dx * dx + dy * dy < 15 * 15;
            p[0] = static_cast<std::uint8_t>(x * 8);
            p[1] = static_cast<std::uint8_t>(y * 8);
            p[2] = 200;
            p[3] = inside ? 255 : 0;
        }
    }
    const auto path =
        std::filesystem::temp_directory_path() / ("quintora-sprite-" + std::to_string(getpid()) + ".png");
    if (!platform::writePng(path.string(), image))
        std::fprintf(stderr, "sprite_window: cannot write %s\n", path.c_str());
    return path.string();
}

struct Mover {
    Ref<Sprite> sprite;
    float x, y, vx, vy;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: sprite_window N [SECONDS]\n");
        return 2;
    }
    const int count = std::atoi(argv[1]);
    const double seconds = argc > 2 ? std::atof(argv[2]) : 10;
    std::string error;
    platform::WindowOptions options;
    options.scale = 1;
    options.title = "sprites";
    auto window = platform::Window::open(options, &error);
    if (!window) {
        std::fprintf(stderr, "sprite_window: %s\n", error.c_str());
        return 1;
    }
    Director& director = Director::sharedDirector();
    director.setLandscape(true);
    director.attachInWindow(window.get());

    const std::string image = writeSpriteImage();
    Ref<Scene> scene = Scene::node();
    std::vector<Mover> movers;
    std::mt19937 random(1);
    std::uniform_real_distribution<float> across(16, 480 - 16), up(16, 320 - 16), speed(-1, 1);
    for (int i = 0; i < count; ++i) {
        Mover m{Sprite::spriteWithFile(image), across(random), up(random), speed(random), speed(random)};
        scene->addChild(m.sprite.get());
        movers.push_back(m);
    }
    std::filesystem::remove(image);
    director.runWithScene(scene.get());

    IgnoreInput input;
    const Clock::time_point start = Clock::now();
    Clock::time_point second = start;
    long frames = 0, framesThisSecond = 0;
    while (!input.quit && Clock::now() - start < std::chrono::duration<double>(seconds)) {
        window->pollEvents(input);
        // Moving and bouncing off the window's edges, as testsprite2's sprites do.
        for (Mover& m : movers) {
            m.x += m.vx;
            m.y += m.vy;
            if (m.x < 16 || m.x > 480 - 16) m.vx = -m.vx;
            if (m.y < 16 || m.y > 320 - 16) m.vy = -m.vy;
            m.sprite->setPosition({m.x, m.y});
        }
        director.mainLoop();
        ++frames;
        ++framesThisSecond;
        const Clock::time_point now = Clock::now();
        if (now - second >= std::chrono::seconds(1)) {
            std::printf("%.2f frames per second\n", static_cast<double>(framesThisSecond) /
                                                        std::chrono::duration<double>(now - second).count());
            std::fflush(stdout);
            second = now;
            framesThisSecond = 0;
        }
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%d sprites: %.2f frames per second over %ld frames\n", count,
                static_cast<double>(frames) / elapsed, frames);
    director.end();
    return 0;
}
