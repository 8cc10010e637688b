#include "app/TextField.hpp"

namespace quintora {
namespace {

// The length of the well-formed UTF-8 character at the start of s, or 0 when it is not one (a stray or
// truncated byte sequence, an overlong form, a surrogate or a value past U+10FFFF).
std::size_t characterLength(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t value = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
    } else {
        return 0;
    }
    if (s.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) return 0;
        value = (value << 6) | (byte(i) & 0x3Fu);
    }
    if ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000) || value > 0x10FFFF) return 0;
    if (value >= 0xD800 && value <= 0xDFFF) return 0;
    return length;
}

// Control characters would break the one-line label and the name sent to the score server.
bool isControl(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) return lead < 0x20 || lead == 0x7F;
    return character.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

}  // namespace

std::string printableText(std::string_view utf8, std::size_t maxCharacters) {
    TextField field(nullptr, maxCharacters);
    field.insertText(utf8);
    return field.text();
}

TextField::TextField(TextFieldDelegate* delegate, std::size_t maxCharacters)
    : delegate_(delegate), maxCharacters_(maxCharacters) {}

TextField::~TextField() { detach(); }

void TextField::setText(std::string_view utf8) {
    text_.clear();
    count_ = 0;
    insertText(utf8);
}

void TextField::becomeFirstResponder() { Keyboard::shared().setReceiver(this); }

void TextField::resignFirstResponder() {
    if (!isFirstResponder()) return;
    Keyboard::shared().setReceiver(nullptr);
    if (delegate_) delegate_->textFieldDidEndEditing(*this);
}

bool TextField::isFirstResponder() const { return Keyboard::shared().receiver() == this; }

void TextField::detach() {
    if (isFirstResponder()) Keyboard::shared().setReceiver(nullptr);
}

void TextField::insertText(std::string_view utf8) {
    while (!utf8.empty()) {
        const std::size_t length = characterLength(utf8);
        if (length == 0) {  // not UTF-8: the byte is dropped
            utf8.remove_prefix(1);
            continue;
        }
        const std::string_view character = utf8.substr(0, length);
        utf8.remove_prefix(length);
        if (isControl(character)) continue;
        if (count_ >= maxCharacters_) return;
        text_ += character;
        ++count_;
    }
}

void TextField::deleteBackward() {
    if (text_.empty()) return;
    std::size_t start = text_.size() - 1;
    while (start > 0 && (static_cast<unsigned char>(text_[start]) & 0xC0u) == 0x80u) --start;
    text_.erase(start);
    --count_;
}

void TextField::returnKey() {
    if (delegate_) delegate_->textFieldShouldReturn(*this);
}

}  // namespace quintora
