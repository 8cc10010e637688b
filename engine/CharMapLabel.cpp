#include "engine/CharMapLabel.hpp"

#include <algorithm>

#include "engine/Matrix.hpp"
#include "engine/SpriteBatch.hpp"
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
    SpriteBatch& batch = SpriteBatch::shared();
    batch.setTint({r(), g(), b(), opacity()});
    const Mat4& matrix = modelView().top();
    const float w = static_cast<float>(itemWidth_), h = static_cast<float>(itemHeight_);
    for (std::size_t i = 0; i < text_.size(); ++i) {
        const int index = static_cast<unsigned char>(text_[i]) - static_cast<unsigned char>(startChar_);
        if (index < 0 || index >= columns * rows) continue;
        const float s = static_cast<float>(index % columns) * cellS;
        const float t = static_cast<float>(index / columns) * cellT;  // rows run down from the top
        batch.addQuad(map, {{static_cast<float>(i) * w, 0}, {w, h}}, {s, t, s + cellS, t + cellT}, matrix);
    }
    batch.setTint({});
}

}  // namespace quintora
