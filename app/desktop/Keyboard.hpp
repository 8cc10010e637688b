#pragma once
// Where typed text goes: the one text field that is taking input, if any. The window's text input is on
// only while a field takes it. Keys that no text field, alert or desktop shortcut takes go to the running
// scene's layer when it is a KeyReceiver: the menus move their focus, the keypads type.
#include <string_view>

#include "flow/Controls.hpp"

namespace quintora {

class TextInputReceiver {
  public:
    virtual ~TextInputReceiver() = default;
    virtual void insertText(std::string_view utf8) = 0;
    virtual void deleteBackward() = 0;
    virtual void returnKey() = 0;
};

// Hands a pressed key to the first layer of the running scene that takes keys.
bool deliverKeyToScene(platform::Key key);

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
