#include "app/screens/TextField.hpp"

#include <unictype.h>
#include <unistr.h>

#include <cstdint>

namespace quintora {
namespace {

// The length of the well-formed UTF-8 character at the start of s, or 0 when it is not one (a stray or
// truncated byte sequence, an overlong form, a surrogate or a value past U+10FFFF); with its code point.
std::size_t characterLength(std::string_view s, ucs4_t& codePoint) {
    const int length = u8_mbtoucr(&codePoint, reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    return length > 0 ? static_cast<std::size_t>(length) : 0;
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
        ucs4_t codePoint = 0;
        const std::size_t length = characterLength(utf8, codePoint);
        if (length == 0) {  // not UTF-8: the byte is dropped
            utf8.remove_prefix(1);
            continue;
        }
        const std::string_view character = utf8.substr(0, length);
        utf8.remove_prefix(length);
        // Control characters (C0, DEL, C1) would break the one-line label and the name sent to the server.
        if (uc_is_general_category(codePoint, UC_CATEGORY_Cc)) continue;
        if (count_ >= maxCharacters_) return;
        text_ += character;
        ++count_;
    }
}

void TextField::deleteBackward() {
    if (text_.empty()) return;
    const auto* begin = reinterpret_cast<const std::uint8_t*>(text_.data());
    ucs4_t last = 0;
    text_.erase(static_cast<std::size_t>(u8_prev(&last, begin + text_.size(), begin) - begin));
    --count_;
}

void TextField::returnKey() {
    if (delegate_) delegate_->textFieldShouldReturn(*this);
}

}  // namespace quintora
