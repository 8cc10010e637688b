#pragma once
// A one-line text field without a picture of its own: it takes the keyboard while it is first responder,
// keeps the typed text and tells its delegate about the return key and the end of editing. The screen
// that owns it shows the text as it likes.
#include <cstddef>
#include <string>
#include <string_view>

#include "app/desktop/Keyboard.hpp"

namespace quintora {

class TextField;

// The text as a one-line field would take it when typed: well-formed UTF-8 without control characters,
// at most maxCharacters characters (code points).
[[nodiscard]] std::string printableText(std::string_view utf8, std::size_t maxCharacters);

class TextFieldDelegate {
  public:
    virtual ~TextFieldDelegate() = default;
    // The return key was pressed while the field had the keyboard.
    virtual bool textFieldShouldReturn(TextField& field) = 0;
    // The field gave up the keyboard.
    virtual void textFieldDidEndEditing(TextField& field) = 0;
};

class TextField final : public TextInputReceiver {
  public:
    // At most maxCharacters characters (code points) are kept; further typing is ignored.
    TextField(TextFieldDelegate* delegate, std::size_t maxCharacters);
    ~TextField() override;
    TextField(const TextField&) = delete;
    TextField& operator=(const TextField&) = delete;

    [[nodiscard]] const std::string& text() const { return text_; }
    void setText(std::string_view utf8);
    [[nodiscard]] std::size_t characterCount() const { return count_; }

    // Takes the keyboard; typed text, Backspace and Return come here from now on.
    void becomeFirstResponder();
    // Gives the keyboard back and tells the delegate that editing ended.
    void resignFirstResponder();
    [[nodiscard]] bool isFirstResponder() const;
    // Gives the keyboard back without telling anyone: the field's owner is going away.
    void detach();

    // TextInputReceiver
    void insertText(std::string_view utf8) override;
    void deleteBackward() override;
    void returnKey() override;

  private:
    TextFieldDelegate* delegate_;
    std::size_t maxCharacters_;
    std::string text_;
    std::size_t count_ = 0;
};

}  // namespace quintora
