#include "engine/Label.hpp"

#include "engine/Errors.hpp"

namespace quintora {

void Label::init() {
    throw EngineException("LabelInit", "Use initWithString:dimensions:aligment:fontName:font instead");
}

Ref<Label> Label::make(Size dimensions, TextAlignment alignment, const std::string& fontName,
                       float fontSize) {
    // Built without the refused plain init.
    Ref<Label> label(new Label());
    label->dimensions_ = dimensions;
    label->alignment_ = alignment;
    label->fontName_ = fontName;
    label->fontSize_ = fontSize;
    return label;
}

Ref<Label> Label::labelWithString(std::string_view text, const std::string& fontName, float fontSize) {
    Ref<Label> label = make({0, 0}, TextAlignment::Center, fontName, fontSize);
    label->setString(text);
    return label;
}

Ref<Label> Label::labelWithString(std::string_view text, Size dimensions, TextAlignment alignment,
                                  const std::string& fontName, float fontSize) {
    Ref<Label> label = make(dimensions, alignment, fontName, fontSize);
    label->setString(text);
    return label;
}

void Label::setString(std::string_view text) {
    text_ = text;
    const bool fitted = dimensions_.width == 0 && dimensions_.height == 0;
    Ref<Texture2D> texture =
        fitted ? Texture2D::initWithString(text, fontName_, fontSize_)
               : Texture2D::initWithString(text, dimensions_, alignment_, fontName_, fontSize_);
    setTexture(texture.get());
    const Size size = contentSize();
    setTransformAnchor({size.width / 2, size.height / 2});
}

}  // namespace quintora
