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

TEST(TextField, TypingKeepsWholePrintableCharactersUpToTheLimitAndBackspaceTakesOneOff) {
    const struct {
        std::vector<std::string> typed;  // "\b" is a Backspace
        std::string text;
    } cases[] = {
        {{"Zo", "\xC3\xAB", "\xF0\x9F\x98\x80"}, "Zo\xC3\xAB\xF0\x9F\x98\x80"},
        {{"Zo\xC3\xAB\xF0\x9F\x98\x80", "\b"}, "Zo\xC3\xAB"},
        {{"Zo\xC3\xAB", "\b", "\b", "\b", "\b"}, ""},
        {{std::string(20, 'a'), "bcdefghij", "\xC3\xAB"}, std::string(20, 'a') + "bcde"},
        {{std::string(20, 'a'), "bcde", "\b", "\xC3\xAB\xC3\xAB"}, std::string(20, 'a') + "bcd\xC3\xAB"},
        {{"A\nB\tC\x7F" "D\r", "\xC2\x85" "E", "\xFF\xC3" "F", "\xE0\x80\x80" "G", "\xED\xA0\x80" "H"}, "ABCDEFGH"},
    };
    for (const auto& c : cases) {
        Recorder delegate;
        TextField field(&delegate, 24);
        for (const std::string& typed : c.typed) typed == "\b" ? field.deleteBackward() : field.insertText(typed);
        EXPECT_EQ(field.text(), c.text);
        EXPECT_EQ(printableText(c.text + "\n\xFF" + std::string(30, 'x'), 24).substr(0, c.text.size()), c.text);
    }
    EXPECT_EQ(printableText("Ann\nBob", 24), "AnnBob");
    EXPECT_EQ(printableText(std::string(30, 'x'), 24), std::string(24, 'x'));
    EXPECT_EQ(printableText("Zo\xC3\xAB\xFF", 3), "Zo\xC3\xAB");
}

TEST(TextField, TheFieldTakesTheKeyboardUntilItResignsOrGoesAway) {
    Recorder delegate;
    {
        TextField field(&delegate, 24);
        field.becomeFirstResponder();
        EXPECT_EQ(Keyboard::shared().receiver(), &field);
        Keyboard::shared().receiver()->insertText("Ann");
        Keyboard::shared().receiver()->returnKey();
        EXPECT_TRUE(field.isFirstResponder()) << "the delegate decides when the field resigns";
        field.resignFirstResponder();
        field.resignFirstResponder();  // not editing any more: nobody is told again
        EXPECT_EQ(Keyboard::shared().receiver(), nullptr);
        EXPECT_EQ(delegate.calls, (std::vector<std::string>{"return:Ann", "end:Ann"}));
        field.becomeFirstResponder();
    }
    EXPECT_EQ(Keyboard::shared().receiver(), nullptr) << "a field that goes away gives back the keyboard";
    EXPECT_EQ(delegate.calls.size(), 2u);
}

}  // namespace
}  // namespace quintora
