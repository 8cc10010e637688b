#include "platform/Image.hpp"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <string>
#include <vector>

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
void* operator new[](std::size_t size) {
    if (void* memory = allocate(size)) return memory;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace quintora::platform {
namespace {

namespace fs = std::filesystem;

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quintora-image-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    static std::vector<std::uint8_t> readAll(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void writeAll(const std::string& file, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    fs::path dir_;
};

std::array<std::uint8_t, 4> pixelAt(const Bitmap& bitmap, int x, int y) {
    const auto offset = (static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width) + static_cast<std::size_t>(x)) * 4;
    return {bitmap.pixels[offset], bitmap.pixels[offset + 1], bitmap.pixels[offset + 2], bitmap.pixels[offset + 3]};
}

using Rgba = std::array<std::uint8_t, 4>;

// Writes a PNG of any colour type, bit depth and interlacing through libpng's full interface, which the
// decoder under test does not use for writing; rows are already packed in the file's own layout.
struct RawPng {
    int width = 0;
    int height = 0;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_RGB;
    int interlace = PNG_INTERLACE_NONE;
    std::vector<std::vector<png_byte>> rows;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;
};

bool writeRaw(const std::string& file, const RawPng& png) {
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return false;
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = writer ? png_create_info_struct(writer) : nullptr;
    std::vector<png_bytep> rowPointers;
    for (const auto& row : png.rows) rowPointers.push_back(const_cast<png_bytep>(row.data()));
    bool ok = false;
    if (info && setjmp(png_jmpbuf(writer)) == 0) {
        png_init_io(writer, out);
        png_set_IHDR(writer, info, static_cast<png_uint_32>(png.width), static_cast<png_uint_32>(png.height),
                     png.bitDepth, png.colorType, png.interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (!png.palette.empty()) {
            png_set_PLTE(writer, info, png.palette.data(), static_cast<int>(png.palette.size()));
        }
        if (!png.paletteAlpha.empty()) {
            png_set_tRNS(writer, info, png.paletteAlpha.data(), static_cast<int>(png.paletteAlpha.size()), nullptr);
        }
        png_write_info(writer, info);
        png_write_image(writer, rowPointers.data());
        png_write_end(writer, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&writer, &info);
    std::fclose(out);
    return ok;
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

void appendBigEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendChunk(std::vector<std::uint8_t>& bytes, const char* type, const std::vector<std::uint8_t>& data) {
    appendBigEndian(bytes, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = bytes.size();
    bytes.insert(bytes.end(), type, type + 4);
    bytes.insert(bytes.end(), data.begin(), data.end());
    appendBigEndian(bytes, crc32(bytes.data() + typeStart, bytes.size() - typeStart));
}

// A well-formed signature and header (with correct checksums) claiming the given size, followed by a
// token of pixel data: enough for a decoder to get past the header to the point where it would size the
// pixel buffer.
std::vector<std::uint8_t> headerOnlyPng(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    header.insert(header.end(), {8, PNG_COLOR_TYPE_RGB_ALPHA, 0, 0, 0});
    appendChunk(bytes, "IHDR", header);
    appendChunk(bytes, "IDAT", {0x78, 0x9C, 0x63, 0x00, 0x00});
    appendChunk(bytes, "IEND", {});
    return bytes;
}

Bitmap gradient(int width, int height) {
    Bitmap bitmap{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.pixels.insert(bitmap.pixels.end(), {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11),
                                                       static_cast<std::uint8_t>((x + y) * 3), 255});
        }
    }
    return bitmap;
}

TEST_F(ImageFiles, RoundTripKeepsOpaquePixelsAndPremultipliesTranslucentOnes) {
    Bitmap source{3, 2, {}};
    source.pixels = {
        255, 0, 0, 255,     200, 100, 50, 128,  10, 20, 30, 0,    // top row
        0, 255, 0, 255,     0, 0, 255, 255,     255, 255, 255, 1,  // bottom row
    };
    ASSERT_TRUE(writePng(path("round.png"), source));

    const auto decoded = decodePng(path("round.png"));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->width, 3);
    EXPECT_EQ(decoded->height, 2);
    ASSERT_EQ(decoded->pixels.size(), 3u * 2u * 4u);
    EXPECT_EQ(pixelAt(*decoded, 0, 0), (Rgba{255, 0, 0, 255}));
    // 200 * 128 / 255 = 100.4, 100 * 128 / 255 = 50.2, 50 * 128 / 255 = 25.1
    EXPECT_EQ(pixelAt(*decoded, 1, 0), (Rgba{100, 50, 25, 128}));
    EXPECT_EQ(pixelAt(*decoded, 2, 0), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(*decoded, 0, 1), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixelAt(*decoded, 1, 1), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(*decoded, 2, 1), (Rgba{1, 1, 1, 1}));
}

TEST_F(ImageFiles, WritingRefusesMalformedBitmapsAndUnwritablePaths) {
    EXPECT_FALSE(writePng(path("empty.png"), Bitmap{}));
    EXPECT_FALSE(writePng(path("short.png"), Bitmap{2, 2, std::vector<std::uint8_t>(15)}));
    EXPECT_FALSE(writePng(path("no-such-folder/shot.png"), gradient(2, 2)));
    EXPECT_FALSE(fs::exists(path("empty.png")));
    EXPECT_FALSE(fs::exists(path("short.png")));
}

TEST_F(ImageFiles, DecodesEveryColourTypeIntoPremultipliedRgba) {
    {
        SCOPED_TRACE("palette, 2 bits, one half-transparent entry");
        RawPng png{3, 1, 2, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, {}, {}, {}};
        png.palette = {{255, 0, 0}, {0, 200, 100}, {10, 20, 30}};
        png.paletteAlpha = {255, 128};
        png.rows = {{0b00'01'10'00}};
        ASSERT_TRUE(writeRaw(path("palette.png"), png));
        const auto decoded = decodePng(path("palette.png"));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(pixelAt(*decoded, 0, 0), (Rgba{255, 0, 0, 255}));
        EXPECT_EQ(pixelAt(*decoded, 1, 0), (Rgba{0, 100, 50, 128}));
        EXPECT_EQ(pixelAt(*decoded, 2, 0), (Rgba{10, 20, 30, 255}));
    }
    {
        SCOPED_TRACE("grey, 1 bit");
        RawPng png{8, 2, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, {{0b1010'0000}, {0b0000'0001}}, {}, {}};
        ASSERT_TRUE(writeRaw(path("grey1.png"), png));
        const auto decoded = decodePng(path("grey1.png"));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(pixelAt(*decoded, 0, 0), (Rgba{255, 255, 255, 255}));
        EXPECT_EQ(pixelAt(*decoded, 1, 0), (Rgba{0, 0, 0, 255}));
        EXPECT_EQ(pixelAt(*decoded, 2, 0), (Rgba{255, 255, 255, 255}));
        EXPECT_EQ(pixelAt(*decoded, 6, 1), (Rgba{0, 0, 0, 255}));
        EXPECT_EQ(pixelAt(*decoded, 7, 1), (Rgba{255, 255, 255, 255}));
    }
    {
        SCOPED_TRACE("grey with alpha, 8 bits");
        RawPng png{2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_INTERLACE_NONE, {{200, 128, 90, 255}}, {}, {}};
        ASSERT_TRUE(writeRaw(path("greyalpha.png"), png));
        const auto decoded = decodePng(path("greyalpha.png"));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(pixelAt(*decoded, 0, 0), (Rgba{100, 100, 100, 128}));
        EXPECT_EQ(pixelAt(*decoded, 1, 0), (Rgba{90, 90, 90, 255}));
    }
    {
        SCOPED_TRACE("grey, 16 bits");
        RawPng png{3, 1, 16, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, {{0, 0, 0x80, 0x00, 0xFF, 0xFF}}, {}, {}};
        ASSERT_TRUE(writeRaw(path("grey16.png"), png));
        const auto decoded = decodePng(path("grey16.png"));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(pixelAt(*decoded, 0, 0), (Rgba{0, 0, 0, 255}));
        const Rgba middle = pixelAt(*decoded, 1, 0);
        EXPECT_GT(middle[0], 0);
        EXPECT_LT(middle[0], 255);
        EXPECT_EQ(middle[0], middle[1]);
        EXPECT_EQ(middle[0], middle[2]);
        EXPECT_EQ(pixelAt(*decoded, 2, 0), (Rgba{255, 255, 255, 255}));
    }
    {
        SCOPED_TRACE("RGB, Adam7 interlaced");
        RawPng png{9, 7, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7, {}, {}, {}};
        for (int y = 0; y < png.height; ++y) {
            std::vector<png_byte> row;
            for (int x = 0; x < png.width; ++x) {
                row.insert(row.end(), {static_cast<png_byte>(x * 20), static_cast<png_byte>(y * 30), static_cast<png_byte>(x + y)});
            }
            png.rows.push_back(row);
        }
        ASSERT_TRUE(writeRaw(path("interlaced.png"), png));
        const auto decoded = decodePng(path("interlaced.png"));
        ASSERT_TRUE(decoded.has_value());
        ASSERT_EQ(decoded->width, 9);
        ASSERT_EQ(decoded->height, 7);
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 9; ++x) {
                EXPECT_EQ(pixelAt(*decoded, x, y), (Rgba{static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 30),
                                                         static_cast<std::uint8_t>(x + y), 255}))
                    << "at " << x << "," << y;
            }
        }
    }
}

TEST_F(ImageFiles, MissingTruncatedAndCorruptFilesYieldNothing) {
    EXPECT_FALSE(decodePng(path("absent.png")).has_value());
    EXPECT_FALSE(decodePng(dir_.string()).has_value());

    writeAll(path("empty.png"), {});
    EXPECT_FALSE(decodePng(path("empty.png")).has_value());

    ASSERT_TRUE(writePng(path("whole.png"), gradient(40, 30)));
    const auto whole = readAll(path("whole.png"));
    ASSERT_GT(whole.size(), 100u);
    ASSERT_TRUE(decodePng(path("whole.png")).has_value());
    // Every cut that loses image data must fail; the last 12 bytes are the end marker, whose loss may or
    // may not be noticed once all pixels are in, but must never crash.
    for (std::size_t length = 0; length < whole.size(); ++length) {
        writeAll(path("cut.png"), std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
        const auto decoded = decodePng(path("cut.png"));
        if (length < whole.size() - 12) {
            EXPECT_FALSE(decoded.has_value()) << "cut at " << length;
        }
    }

    std::mt19937 random(12345);
    std::vector<std::uint8_t> noise(4096);
    for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
    writeAll(path("noise.png"), noise);
    EXPECT_FALSE(decodePng(path("noise.png")).has_value());

    // A real signature and header followed by noise, and a real file with its pixel data overwritten.
    std::vector<std::uint8_t> headed = headerOnlyPng(16, 16);
    headed.resize(headed.size() - 12);
    headed.insert(headed.end(), noise.begin(), noise.end());
    writeAll(path("headed.png"), headed);
    EXPECT_FALSE(decodePng(path("headed.png")).has_value());

    std::vector<std::uint8_t> damaged = whole;
    for (std::size_t i = 60; i < damaged.size() - 20; i += 3) damaged[i] = static_cast<std::uint8_t>(random());
    writeAll(path("damaged.png"), damaged);
    EXPECT_FALSE(decodePng(path("damaged.png")).has_value());
}

TEST_F(ImageFiles, OversizedHeadersAreRefusedBeforeAllocatingPixels) {
    writeAll(path("huge.png"), headerOnlyPng(100000, 100000));
    writeAll(path("wide.png"), headerOnlyPng(static_cast<std::uint32_t>(maxImageSide) + 1, 1));
    writeAll(path("tall.png"), headerOnlyPng(1, static_cast<std::uint32_t>(maxImageSide) + 1));
    writeAll(path("many.png"), headerOnlyPng(6000, 6000));

    for (const char* name : {"huge.png", "wide.png", "tall.png", "many.png"}) {
        largestRequest = 0;
        probeArmed = true;
        const bool decoded = decodePng(path(name)).has_value();
        probeArmed = false;
        EXPECT_FALSE(decoded) << name;
        EXPECT_LT(largestRequest.load(), 1024u * 1024u) << name;
    }

    // The limit is on the side, not below it: a strip of the largest width still decodes.
    ASSERT_TRUE(writePng(path("strip.png"), gradient(maxImageSide, 1)));
    const auto strip = decodePng(path("strip.png"));
    ASSERT_TRUE(strip.has_value());
    EXPECT_EQ(strip->width, maxImageSide);
    EXPECT_EQ(pixelAt(*strip, 3, 0), (Rgba{21, 0, 9, 255}));
}

}  // namespace
}  // namespace quintora::platform
