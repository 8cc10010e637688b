#include "engine/Texture2D.hpp"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/Errors.hpp"
#include "engine/Matrix.hpp"
#include "engine/SpriteBatch.hpp"
#include "platform/Log.hpp"

namespace quintora {
namespace {

constexpr unsigned kMaxImageTextureSide = 1024;

// Draws the image into a zero-cleared texW x texH RGBA bitmap at its top-left corner, shrunk by
// 2^halvings with a box filter.
std::vector<std::uint8_t> placeTopLeft(const platform::Bitmap& image, unsigned texW, unsigned texH,
                                       int halvings) {
    std::vector<std::uint8_t> out(static_cast<size_t>(texW) * texH * 4, 0);
    const int block = 1 << halvings;
    const int destW = std::min<int>(static_cast<int>(texW), (image.width + block - 1) / block);
    const int destH = std::min<int>(static_cast<int>(texH), (image.height + block - 1) / block);
    for (int y = 0; y < destH; ++y) {
        for (int x = 0; x < destW; ++x) {
            unsigned sum[4] = {0, 0, 0, 0};
            unsigned count = 0;
            for (int sy = y * block; sy < std::min(image.height, (y + 1) * block); ++sy) {
                for (int sx = x * block; sx < std::min(image.width, (x + 1) * block); ++sx) {
                    const std::uint8_t* p = &image.pixels[(static_cast<size_t>(sy) * image.width + sx) * 4];
                    for (int c = 0; c < 4; ++c) sum[c] += p[c];
                    ++count;
                }
            }
            std::uint8_t* q = &out[(static_cast<size_t>(y) * texW + x) * 4];
            for (int c = 0; c < 4; ++c) q[c] = static_cast<std::uint8_t>(sum[c] / count);
        }
    }
    return out;
}

}  // namespace

unsigned Texture2D::powerOfTwoFor(unsigned side) {
    unsigned size = 1;
    while (size < side) size *= 2;
    return size;
}

void Texture2D::packRGB565(const std::uint8_t* rgba, std::size_t pixels, std::uint16_t* out) {
    for (std::size_t i = 0; i < pixels; ++i, rgba += 4) {
        out[i] = static_cast<std::uint16_t>(((rgba[0] >> 3) << 11) | ((rgba[1] >> 2) << 5) | (rgba[2] >> 3));
    }
}

Ref<Texture2D> Texture2D::initWithImage(const platform::Bitmap* image) {
    if (image == nullptr || image->width <= 0 || image->height <= 0 || image->pixels.empty()) {
        platform::log("Image is Null");
        return nullptr;
    }
    // Decoded images are always 8-bit colour, so they get RGBA8888 whether or not they have alpha.
    return initWithImage(*image, Texture2DPixelFormat::RGBA8888);
}

Ref<Texture2D> Texture2D::initWithImage(const platform::Bitmap& image, Texture2DPixelFormat format) {
    Size content{static_cast<float>(image.width), static_cast<float>(image.height)};
    unsigned texW = powerOfTwoFor(static_cast<unsigned>(image.width));
    unsigned texH = powerOfTwoFor(static_cast<unsigned>(image.height));
    int halvings = 0;
    while (texW > kMaxImageTextureSide || texH > kMaxImageTextureSide) {
        texW /= 2;
        texH /= 2;
        content.width /= 2;
        content.height /= 2;
        ++halvings;
    }
    std::vector<std::uint8_t> rgba = placeTopLeft(image, texW, texH, halvings);
    const size_t pixels = static_cast<size_t>(texW) * texH;
    bool opaque = format != Texture2DPixelFormat::A8;
    for (size_t i = 3; opaque && i < image.pixels.size(); i += 4) opaque = image.pixels[i] == 255;
    Ref<Texture2D> texture;
    switch (format) {
        case Texture2DPixelFormat::RGBA8888:
            texture = initWithData(rgba.data(), format, texW, texH, content);
            break;
        case Texture2DPixelFormat::RGB565: {
            std::vector<std::uint16_t> packed(pixels);
            packRGB565(rgba.data(), pixels, packed.data());
            texture = initWithData(packed.data(), format, texW, texH, content);
            break;
        }
        case Texture2DPixelFormat::A8: {
            std::vector<std::uint8_t> alpha(pixels);
            for (size_t i = 0; i < pixels; ++i) alpha[i] = rgba[i * 4 + 3];
            texture = initWithData(alpha.data(), format, texW, texH, content);
            break;
        }
        case Texture2DPixelFormat::Automatic:
            throw EngineException("NSInternalInconsistencyException", "Invalid pixel format");
    }
    texture->opaque_ = opaque;
    return texture;
}

Ref<Texture2D> Texture2D::initWithString(std::string_view text, const std::string& fontName, float fontSize) {
    const platform::TextSize measured = platform::measureText(text, fontName, fontSize);
    return initWithString(text, {measured.width, measured.height}, TextAlignment::Center, fontName, fontSize);
}

Ref<Texture2D> Texture2D::initWithString(std::string_view text, Size dimensions, TextAlignment alignment,
                                         const std::string& fontName, float fontSize) {
    // No 1024 limit here: text is never halved.
    const unsigned texW = powerOfTwoFor(static_cast<unsigned>(std::max(0.0f, std::trunc(dimensions.width))));
    const unsigned texH = powerOfTwoFor(static_cast<unsigned>(std::max(0.0f, std::trunc(dimensions.height))));
    std::vector<std::uint8_t> alpha =
        platform::renderText(text, fontName, fontSize, static_cast<int>(texW), static_cast<int>(texH),
                             {dimensions.width, dimensions.height}, alignment);
    alpha.resize(static_cast<size_t>(texW) * texH, 0);
    return initWithData(alpha.data(), Texture2DPixelFormat::A8, texW, texH, dimensions);
}

Ref<Texture2D> Texture2D::initWithData(const void* data, Texture2DPixelFormat format, unsigned pixelsWide,
                                       unsigned pixelsHigh, Size contentSize) {
    GLint internalFormat = 0;
    GLenum type = GL_UNSIGNED_BYTE;
    switch (format) {
        case Texture2DPixelFormat::RGBA8888:
            internalFormat = GL_RGBA;
            break;
        case Texture2DPixelFormat::RGB565:
            internalFormat = GL_RGB;
            type = GL_UNSIGNED_SHORT_5_6_5;
            break;
        case Texture2DPixelFormat::A8:
            internalFormat = GL_ALPHA;
            break;
        case Texture2DPixelFormat::Automatic:
            throw EngineException("NSInternalInconsistencyException", "Invalid pixel format");
    }
    Ref<Texture2D> texture(new Texture2D());
    static std::uint64_t lastSerial = 0;
    texture->serial_ = ++lastSerial;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glGenTextures(1, &texture->name_);
    glBindTexture(GL_TEXTURE_2D, texture->name_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, static_cast<GLsizei>(pixelsWide),
                 static_cast<GLsizei>(pixelsHigh), 0, static_cast<GLenum>(internalFormat), type, data);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    texture->size_ = contentSize;
    texture->width_ = pixelsWide;
    texture->height_ = pixelsHigh;
    texture->format_ = format;
    texture->maxS_ = contentSize.width / static_cast<float>(pixelsWide);
    texture->maxT_ = contentSize.height / static_cast<float>(pixelsHigh);
    return texture;
}

Texture2D::~Texture2D() {
    if (name_ != 0) glDeleteTextures(1, &name_);
}

void Texture2D::drawAtPoint(Point p) {
    const float w = static_cast<float>(width_) * maxS_;
    const float h = static_cast<float>(height_) * maxT_;
    drawInRect({p, {w, h}});
}

void Texture2D::drawInRect(Rect rect) {
    SpriteBatch::shared().addQuad(this, rect, {0, 0, maxS_, maxT_}, modelView().top());
}

}  // namespace quintora
