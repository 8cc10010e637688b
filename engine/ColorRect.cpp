#include "engine/ColorRect.hpp"

#include <array>

#include "engine/Texture2D.hpp"

namespace quintora {

Ref<Sprite> colorRect(Rect frame, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t opacity) {
    static constexpr std::array<std::uint8_t, 16> white{255, 255, 255, 255, 255, 255, 255, 255,
                                                        255, 255, 255, 255, 255, 255, 255, 255};
    Ref<Texture2D> texture =
        Texture2D::initWithData(white.data(), Texture2DPixelFormat::RGBA8888, 2, 2, {2, 2});
    Ref<Sprite> sprite = Sprite::spriteWithTexture(texture.get());
    sprite->setPosition(frame.centre());
    sprite->setScaleX(frame.size.width / 2);
    sprite->setScaleY(frame.size.height / 2);
    sprite->setRGB(r, g, b);
    sprite->setOpacity(opacity);
    return sprite;
}

}  // namespace quintora
