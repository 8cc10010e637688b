#pragma once
// Where typed text goes: the one text field that is taking input, if any. The window's text input is on
// only while a field takes it.
#include <string_view>

namespace quintora {

class TextInputReceiver {
public:
    virtual ~TextInputReceiver() = default;
    virtual void insertText(std::string_view utf8) = 0;
    virtual void deleteBackward() = 0;
    virtual void returnKey() = 0;
};

class Keyboard {
public:
    static Keyboard& shared();
    void setReceiver(TextInputReceiver* receiver) { receiver_ = receiver; }
    [[nodiscard]] TextInputReceiver* receiver() const { return receiver_; }

private:
    Keyboard() = default;
    TextInputReceiver* receiver_ = nullptr;
};

}  // namespace quintora
