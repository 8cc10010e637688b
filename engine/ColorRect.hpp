#pragma once
// A plain rectangle of one colour, for boxes and panels drawn by the program rather than from an image.
#include <cstdint>

#include "engine/Geometry.hpp"
#include "engine/Sprite.hpp"

namespace quintora {

// A sprite covering `frame` (scene points) in the given colour: a tiny white texture, stretched and tinted.
[[nodiscard]] Ref<Sprite> colorRect(Rect frame, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                                    std::uint8_t opacity = 255);

}  // namespace quintora
