#include "platform/Image.hpp"

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "support/Files.hpp"

// Records the largest single request made through operator new while armed, so that a test can show that
// an oversized image header is refused before its pixel buffer is asked for.
namespace {
std::atomic<bool> probeArmed{false};
std::atomic<std::size_t> largestRequest{0};

void* allocate(std::size_t size) {
    if (probeArmed.load(std::memory_order_relaxed)) {
        std::size_t seen = largestRequest.load(std::memory_order_relaxed);
        while (size > seen && !largestRequest.compare_exchange_weak(seen, size)) {
        }
    }
    return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

// The replacements below pair malloc with free throughout; the compiler, seeing only the inlined halves,
// takes them for mismatched and warns about the library code it inlines them into.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#pragma GCC diagnostic ignored "-Wstringop-overflow"

void* operator new(std::size_t size) {
    if (void* memory = allocate(size)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace quintora::platform {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Rgba = std::array<std::uint8_t, 4>;

class ImageFiles : public ::testing::Test {
  public:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    fs::path dir_ = fs::temp_directory_path() / ("quintora-image-" + std::to_string(::getpid()));
};

Rgba pixelAt(const Bitmap& bitmap, int x, int y) {
    const auto i =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width) + static_cast<std::size_t>(x)) *
        4;
    return {bitmap.pixels[i], bitmap.pixels[i + 1], bitmap.pixels[i + 2], bitmap.pixels[i + 3]};
}

Bitmap gradient(int width, int height) {
    Bitmap bitmap{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.pixels.insert(bitmap.pixels.end(),
                                 {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11),
                                  static_cast<std::uint8_t>((x + y) * 3), 255});
        }
    }
    return bitmap;
}

void bigEndian(Bytes& bytes, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(v >> shift));
}

// A well-formed signature and header claiming the given size, then a token of pixel data: enough for a
// decoder to reach the point where it would size the pixel buffer.
Bytes headerOnlyPng(std::uint32_t width, std::uint32_t height) {
    Bytes bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&bytes](const char* type, Bytes data) {
        bigEndian(bytes, static_cast<std::uint32_t>(data.size()));
        data.insert(data.begin(), type, type + 4);
        bytes.insert(bytes.end(), data.begin(), data.end());
        bigEndian(bytes, static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size()))));
    };
    Bytes header;
    bigEndian(header, width);
    bigEndian(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    chunk("IHDR", header);
    chunk("IDAT", {0x78, 0x9C, 0x63, 0x00, 0x00});
    chunk("IEND", {});
    return bytes;
}

TEST_F(ImageFiles, RoundTripKeepsOpaquePixelsAndPremultipliesTranslucentOnes) {
    const Bitmap source{3, 1, {255, 0, 0, 255, 200, 100, 50, 128, 255, 255, 255, 1}};
    ASSERT_TRUE(writePng(path("round.png"), source));
    const auto decoded = decodePng(path("round.png"));
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->width * decoded->height, 3);
    EXPECT_EQ(pixelAt(*decoded, 0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(*decoded, 1, 0), (Rgba{100, 50, 25, 128}));
    EXPECT_EQ(pixelAt(*decoded, 2, 0), (Rgba{1, 1, 1, 1}));

    EXPECT_FALSE(writePng(path("empty.png"), Bitmap{}));
    EXPECT_FALSE(writePng(path("short.png"), Bitmap{2, 2, Bytes(15)}));
    EXPECT_FALSE(writePng(path("no-such-folder/shot.png"), gradient(2, 2)));
    EXPECT_FALSE(fs::exists(path("short.png")));
}

TEST_F(ImageFiles, MissingTruncatedAndCorruptFilesYieldNothing) {
    EXPECT_FALSE(decodePng(path("absent.png")).has_value());
    EXPECT_FALSE(decodePng(dir_.string()).has_value());
    ASSERT_TRUE(writePng(path("whole.png"), gradient(40, 30)));
    const std::string whole = quintora::testing::readFile(path("whole.png"));
    // Every cut that loses image data fails; the last 12 bytes are the end marker.
    for (std::size_t length = 0; length + 12 < whole.size(); ++length) {
        write("cut.png", Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_FALSE(decodePng(path("cut.png")).has_value()) << "cut at " << length;
    }
    Bytes damaged(whole.begin(), whole.end());
    for (std::size_t i = 60; i + 20 < damaged.size(); i += 3) damaged[i] ^= 0x5A;
    write("damaged.png", damaged);
    EXPECT_FALSE(decodePng(path("damaged.png")).has_value());
}

TEST_F(ImageFiles, OversizedHeadersAreRefusedBeforeAllocatingPixels) {
    const std::uint32_t side = maxImageSide;
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {
        {100000, 100000}, {side + 1, 1}, {1, side + 1}, {6000, 6000}};
    for (const auto& [width, height] : sizes) {
        write("huge.png", headerOnlyPng(width, height));
        largestRequest = 0;
        probeArmed = true;
        const bool decoded = decodePng(path("huge.png")).has_value();
        probeArmed = false;
        EXPECT_FALSE(decoded) << width << " x " << height;
        EXPECT_LT(largestRequest.load(), 1024u * 1024u) << width << " x " << height;
    }
    // The limit is on the side, not below it: a strip of the largest width still decodes.
    ASSERT_TRUE(writePng(path("strip.png"), gradient(maxImageSide, 1)));
    const auto strip = decodePng(path("strip.png"));
    ASSERT_TRUE(strip.has_value());
    EXPECT_EQ(pixelAt(*strip, 3, 0), (Rgba{21, 0, 9, 255}));
}

}  // namespace
}  // namespace quintora::platform
