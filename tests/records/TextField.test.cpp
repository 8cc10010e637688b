// The hidden name field: typed UTF-8, Backspace by whole characters, the length limit and the keyboard.
#include "app/TextField.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quintora {
namespace {

struct Recorder : TextFieldDelegate {
    std::vector<std::string> calls;
    bool textFieldShouldReturn(TextField& field) override {
        calls.push_back("return:" + field.text());
        return true;
    }
    void textFieldDidEndEditing(TextField& field) override { calls.push_back("end:" + field.text()); }
};

class TextFieldTest : public ::testing::Test {
protected:
    void SetUp() override { Keyboard::shared().setReceiver(nullptr); }
    void TearDown() override { Keyboard::shared().setReceiver(nullptr); }
    Recorder delegate;
};

TEST_F(TextFieldTest, TypedTextIsKeptAndBackspaceTakesOffWholeCharacters) {
    TextField field(&delegate, 24);
    field.insertText("Zo");
    field.insertText("\xC3\xAB");  // e with diaeresis, two bytes
    field.insertText("\xF0\x9F\x98\x80");  // a four-byte character
    EXPECT_EQ(field.text(), "Zo\xC3\xAB\xF0\x9F\x98\x80");
    EXPECT_EQ(field.characterCount(), 4u);
    field.deleteBackward();
    EXPECT_EQ(field.text(), "Zo\xC3\xAB");
    field.deleteBackward();
    EXPECT_EQ(field.text(), "Zo");
    field.deleteBackward();
    field.deleteBackward();
    EXPECT_EQ(field.text(), "");
    field.deleteBackward();  // nothing left to take
    EXPECT_EQ(field.text(), "");
    EXPECT_EQ(field.characterCount(), 0u);
}

TEST_F(TextFieldTest, TypingPastTheLimitIsIgnored) {
    TextField field(&delegate, 24);
    field.insertText(std::string(20, 'a'));
    field.insertText("bcdefghij");  // only "bcde" fits
    EXPECT_EQ(field.text(), std::string(20, 'a') + "bcde");
    EXPECT_EQ(field.characterCount(), 24u);
    field.insertText("\xC3\xAB");
    EXPECT_EQ(field.text().size(), 24u);
    field.deleteBackward();
    field.insertText("\xC3\xAB\xC3\xAB");  // characters, not bytes, are counted
    EXPECT_EQ(field.text(), std::string(20, 'a') + "bcd\xC3\xAB");
    EXPECT_EQ(field.characterCount(), 24u);
}

TEST_F(TextFieldTest, ControlCharactersAndBrokenUtf8AreDropped) {
    TextField field(&delegate, 24);
    field.insertText("A\nB\tC\x7F" "D\r");
    field.insertText("\xC2\x85" "E");  // a C1 control
    field.insertText("\xFF\xC3" "F");  // a stray byte and a lead byte without its continuation
    field.insertText("\xE0\x80\x80" "G");  // an overlong form
    field.insertText("\xED\xA0\x80" "H");  // a surrogate
    EXPECT_EQ(field.text(), "ABCDEFGH");
}

TEST_F(TextFieldTest, PrintableTextIsWhatTheFieldWouldHaveTaken) {
    EXPECT_EQ(printableText("Ann\nBob", 24), "AnnBob");
    EXPECT_EQ(printableText(std::string(30, 'x'), 24), std::string(24, 'x'));
    EXPECT_EQ(printableText("Zo\xC3\xAB\xFF", 3), "Zo\xC3\xAB");
    EXPECT_EQ(printableText("", 24), "");
    EXPECT_EQ(Keyboard::shared().receiver(), nullptr);
}

TEST_F(TextFieldTest, TheFieldTakesTheKeyboardUntilItResigns) {
    TextField field(&delegate, 24);
    EXPECT_FALSE(field.isFirstResponder());
    field.becomeFirstResponder();
    EXPECT_EQ(Keyboard::shared().receiver(), &field);
    Keyboard::shared().receiver()->insertText("Ann");
    Keyboard::shared().receiver()->returnKey();
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"return:Ann"}));
    EXPECT_TRUE(field.isFirstResponder()) << "the delegate decides when the field resigns";
    field.resignFirstResponder();
    EXPECT_EQ(Keyboard::shared().receiver(), nullptr);
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"return:Ann", "end:Ann"}));
    field.resignFirstResponder();  // not editing any more: nobody is told again
    EXPECT_EQ(delegate.calls.size(), 2u);
}

TEST_F(TextFieldTest, AFieldThatGoesAwayGivesBackTheKeyboard) {
    {
        TextField field(&delegate, 24);
        field.becomeFirstResponder();
    }
    EXPECT_EQ(Keyboard::shared().receiver(), nullptr);
    EXPECT_TRUE(delegate.calls.empty());
}

}  // namespace
}  // namespace quintora
