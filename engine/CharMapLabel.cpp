#include "engine/CharMapLabel.hpp"

#include <GLES/gl.h>

#include <vector>

#include "engine/Matrix.hpp"
#include "engine/TextureMgr.hpp"

namespace quintora {

Ref<CharMapLabel> CharMapLabel::labelWithString(std::string_view text, const std::string& charMapFile,
                                                int itemWidth, int itemHeight, char startChar) {
    Texture2D* texture = TextureMgr::sharedTextureMgr().addImage(charMapFile);
    if (texture == nullptr || itemWidth <= 0 || itemHeight <= 0) return nullptr;
    Ref<CharMapLabel> label = CharMapLabel::node();
    label->setTexture(texture);
    label->itemWidth_ = itemWidth;
    label->itemHeight_ = itemHeight;
    label->startChar_ = startChar;
    label->text_ = text;
    return label;
}

void CharMapLabel::draw() {
    Texture2D* map = texture();
    if (map == nullptr || text_.empty()) return;
    const int columns = std::max(1, static_cast<int>(map->contentSize().width) / itemWidth_);
    const int rows = std::max(1, static_cast<int>(map->contentSize().height) / itemHeight_);
    const float cellS = static_cast<float>(itemWidth_) / static_cast<float>(map->pixelsWide());
    const float cellT = static_cast<float>(itemHeight_) / static_cast<float>(map->pixelsHigh());
    std::vector<GLfloat> vertices;
    std::vector<GLfloat> coordinates;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        const int index = static_cast<unsigned char>(text_[i]) - static_cast<unsigned char>(startChar_);
        if (index < 0 || index >= columns * rows) continue;
        const float s = static_cast<float>(index % columns) * cellS;
        const float t = static_cast<float>(index / columns) * cellT;  // rows run down from the top
        const float x = static_cast<float>(i) * static_cast<float>(itemWidth_);
        const float w = static_cast<float>(itemWidth_), h = static_cast<float>(itemHeight_);
        // Two triangles per character.
        const GLfloat quad[] = {x, 0, x + w, 0, x, h, x + w, 0, x + w, h, x, h};
        const GLfloat uv[] = {s, t + cellT, s + cellS, t + cellT, s, t, s + cellS, t + cellT, s + cellS, t, s, t};
        vertices.insert(vertices.end(), std::begin(quad), std::end(quad));
        coordinates.insert(coordinates.end(), std::begin(uv), std::end(uv));
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelView().top().m.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
    glColor4ub(r(), g(), b(), opacity());
    glBindTexture(GL_TEXTURE_2D, map->name());
    glVertexPointer(2, GL_FLOAT, 0, vertices.data());
    glTexCoordPointer(2, GL_FLOAT, 0, coordinates.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 2));
    glColor4ub(255, 255, 255, 255);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace quintora
