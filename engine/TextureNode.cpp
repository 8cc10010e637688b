#include "engine/TextureNode.hpp"

#include <GLES/gl.h>

#include "engine/Matrix.hpp"

namespace quintora {

TextureNode::TextureNode() = default;
TextureNode::~TextureNode() = default;

Size TextureNode::contentSize() const { return texture_ ? texture_->contentSize() : Size{}; }

void TextureNode::draw() {
    // A fully transparent node changes no pixel; skipping it spares a blend of its whole area, which for
    // the faded-out full-screen pictures the screens keep is most of a frame's cost.
    if (!texture_ || opacity_ == 0) return;
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelView().top().m.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
    glColor4ub(r_, g_, b_, opacity_);
    // Blending an opaque image drawn at full opacity gives exactly the image, so it is left out.
    const bool unblended = opacity_ == 255 && texture_->isOpaque();
    if (unblended) glDisable(GL_BLEND);
    texture_->drawAtPoint({0, 0});
    if (unblended) glEnable(GL_BLEND);
    glColor4ub(255, 255, 255, 255);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace quintora
