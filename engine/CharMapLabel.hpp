#pragma once
#include <string>
#include <string_view>

#include "engine/TextureNode.hpp"

namespace quintora {

// Text drawn from an image of equal cells, one character each, in character order from a first one:
// the frame-rate counter's digits.
class CharMapLabel : public TextureNode {
    QUINTORA_NODE(CharMapLabel)
  public:
    // Null when the image cannot be loaded.
    static Ref<CharMapLabel> labelWithString(std::string_view text, const std::string& charMapFile,
                                             int itemWidth, int itemHeight, char startChar);
    void setString(std::string_view text) { text_ = text; }
    [[nodiscard]] const std::string& string() const { return text_; }
    void draw() override;

  protected:
    CharMapLabel() = default;

  private:
    std::string text_;
    int itemWidth_ = 0;
    int itemHeight_ = 0;
    char startChar_ = ' ';
};

}  // namespace quintora
