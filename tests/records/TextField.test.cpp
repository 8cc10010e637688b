// The hidden name field: typed UTF-8, Backspace by whole characters and the length limit; the keyboard
// it takes is checked on the records screen.
#include "app/screens/TextField.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quintora {
namespace {

TEST(TextField, TypingKeepsWholePrintableCharactersUpToTheLimitAndBackspaceTakesOneOff) {
    const struct {
        std::vector<std::string> typed;  // "\b" is a Backspace
        std::string text;
    } cases[] = {
        {{"Zo", "\xC3\xAB", "\xF0\x9F\x98\x80"}, "Zo\xC3\xAB\xF0\x9F\x98\x80"},
        {{"Zo\xC3\xAB\xF0\x9F\x98\x80", "\b"}, "Zo\xC3\xAB"},
        {{std::string(20, 'a'), "bcdefghij", "\xC3\xAB"}, std::string(20, 'a') + "bcde"},
        {{std::string(20, 'a'), "bcde", "\b", "\xC3\xAB\xC3\xAB"}, std::string(20, 'a') + "bcd\xC3\xAB"},
        // Octal escapes, which end after three digits, so that a letter after one is not read into it.
        {{"A\nB\tC\177D\r", "\302\205E", "\377\303F", "\340\200\200G", "\355\240\200H"}, "ABCDEFGH"},
    };
    for (const auto& c : cases) {
        TextField field(nullptr, 24);
        for (const std::string& typed : c.typed)
            typed == "\b" ? field.deleteBackward() : field.insertText(typed);
        EXPECT_EQ(field.text(), c.text);
    }
    EXPECT_EQ(printableText("Zo\xC3\xAB\nBob\xFF", 3), "Zo\xC3\xAB");
}

}  // namespace
}  // namespace quintora
