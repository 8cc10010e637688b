#include "engine/TextureNode.hpp"

#include <GLES/gl.h>

#include "engine/Matrix.hpp"

namespace quintora {

TextureNode::TextureNode() = default;
TextureNode::~TextureNode() = default;

Size TextureNode::contentSize() const { return texture_ ? texture_->contentSize() : Size{}; }

void TextureNode::draw() {
    if (!texture_) return;
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelView().top().m.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
    glColor4ub(r_, g_, b_, opacity_);
    texture_->drawAtPoint({0, 0});
    glColor4ub(255, 255, 255, 255);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace quintora
