#include "online/ScoreForm.hpp"

#include <gtest/gtest.h>

namespace quintora {
namespace {

// Signing is checked against independently computed digests by the server's tests; here the form itself.
TEST(ScoreForm, EscapesWhatAFormDecoderWouldMisreadAndRefusesBrokenEscapes) {
    const std::pair<const char*, const char*> cases[] = {{"A&B = C+D 100%", "A%26B%20%3D%20C%2BD%20100%25"},
                                                         {"a/b?c:d@e#<>\"\n", "a/b?c:d@e%23%3C%3E%22%0A"}};
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(encodeData(text), escaped);
        EXPECT_EQ(decodeForm(std::string("k=") + escaped).value_or(FormFields{}), (FormFields{{"k", text}}));
    }
    EXPECT_EQ(decodeForm("&a+b=c%20d+e&&flag&x=1=2"),
              (FormFields{{"a b", "c d e"}, {"flag", ""}, {"x", "1=2"}}));
    for (const char* broken : {"x=%", "x=%2", "x=%zz", "%g0=1"}) EXPECT_FALSE(decodeForm(broken)) << broken;
}

}  // namespace
}  // namespace quintora
