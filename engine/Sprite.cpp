#include "engine/Sprite.hpp"

#include "engine/TextureMgr.hpp"

namespace quintora {

Ref<Sprite> Sprite::spriteWithFile(const std::string& fileName) {
    return spriteWithTexture(TextureMgr::sharedTextureMgr().addImage(fileName));
}

Ref<Sprite> Sprite::spriteWithTexture(Texture2D* texture) {
    Ref<Sprite> sprite = Sprite::node();
    sprite->initWithTexture(texture);
    return sprite;
}

void Sprite::initWithTexture(Texture2D* texture) {
    setTexture(texture);
    const Size size = contentSize();
    setTransformAnchor({size.width / 2, size.height / 2});
}

Rect getFrame(const Sprite* sprite) {
    const Point p = sprite->position();
    const Size s = sprite->contentSize();
    return {{p.x - s.width / 2, p.y - s.height / 2}, s};
}

}  // namespace quintora
