#pragma once
#include <string>
#include <string_view>

#include "engine/TextureNode.hpp"

namespace quintora {

// Text rendered in a named font, centred on its position; its colour comes from the node's colour.
class Label : public TextureNode {
    QUINTORA_NODE(Label)
  public:
    static Ref<Label> labelWithString(std::string_view text, const std::string& fontName, float fontSize);
    static Ref<Label> labelWithString(std::string_view text, Size dimensions, TextAlignment alignment,
                                      const std::string& fontName, float fontSize);
    // A label needs its text and font.
    void init() override;
    // Renders the text again, also when it is unchanged, and keeps the label centred on its position.
    void setString(std::string_view text);
    [[nodiscard]] const std::string& string() const { return text_; }

  protected:
    Label() = default;

  private:
    static Ref<Label> make(Size dimensions, TextAlignment alignment, const std::string& fontName,
                           float fontSize);
    Size dimensions_;
    TextAlignment alignment_ = TextAlignment::Center;
    std::string fontName_;
    float fontSize_ = 0;
    std::string text_;
};

}  // namespace quintora
