#include "engine/TextureNode.hpp"

#include "engine/SpriteBatch.hpp"

namespace quintora {

TextureNode::TextureNode() = default;
TextureNode::~TextureNode() = default;

Size TextureNode::contentSize() const { return texture_ ? texture_->contentSize() : Size{}; }

void TextureNode::draw() {
    // A fully transparent node changes no pixel; skipping it spares a blend of its whole area, which for
    // the faded-out full-screen pictures the screens keep is most of a frame's cost.
    if (!texture_ || opacity_ == 0) return;
    SpriteBatch& batch = SpriteBatch::shared();
    batch.setTint({r_, g_, b_, opacity_});
    // Blending an opaque image drawn at full opacity gives exactly the image, so it is left out.
    batch.setBlending(opacity_ != 255 || !texture_->isOpaque());
    texture_->drawAtPoint({0, 0});
    batch.setTint({});
    batch.setBlending(true);
}

}  // namespace quintora
