#pragma once
#include <string>

#include "engine/TextureNode.hpp"

namespace quintora {

// An image from the game's resources, centred on its position.
class Sprite : public TextureNode {
    QUINTORA_NODE(Sprite)
  public:
    static Ref<Sprite> spriteWithFile(const std::string& fileName);
    static Ref<Sprite> spriteWithTexture(Texture2D* texture);
    void initWithTexture(Texture2D* texture);

  protected:
    Sprite() = default;
};

// The hit rectangle of a sprite: its image's size, centred on its position.
[[nodiscard]] Rect getFrame(const Sprite* sprite);

}  // namespace quintora
