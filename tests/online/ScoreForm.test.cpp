#include "online/GameKey.hpp"
#include "online/ScoreForm.hpp"

#include <gtest/gtest.h>

namespace quintora {
namespace {

TEST(ScoreForm, EscapesWhatAFormDecoderWouldMisreadAndRefusesBrokenEscapes) {
    const std::pair<const char*, const char*> cases[] = {
        {"A&B = C+D", "A%26B%20%3D%20C%2BD"}, {"100%", "100%25"}, {"Zo\xc3\xab", "Zo%C3%AB"},
        {"a/b?c:d@e", "a/b?c:d@e"}, {"#<>\"\n", "%23%3C%3E%22%0A"}};
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(encodeData(text), escaped);
        EXPECT_EQ(decodeForm(std::string("k=") + encodeData(text)).value_or(FormFields{}),
                  (FormFields{{"k", text}}));
    }
    EXPECT_EQ(decodeForm("&a+b=c%20d+e&&flag&x=1=2"),
              (FormFields{{"a b", "c d e"}, {"flag", ""}, {"x", "1=2"}}));
    for (const char* broken : {"x=%", "x=%2", "x=%zz", "%g0=1"}) EXPECT_FALSE(decodeForm(broken)) << broken;
}

TEST(ScoreForm, SignsValuesInCaseInsensitiveKeyOrderThenTheKeyAndComparesHashesExactly) {
    // Expected digests computed independently: MD5 of the values in key order followed by the game key.
    const FormFields game{{"qs_score", "23.5"},        {"qs_playername", "A&B = C+D Zo\xc3\xab"},
                          {"qs_category", "Pro"},      {"qs_device_id", "dev"},
                          {"qs_gamename", "Quintora"}, {"qs_prot_ver", "1.1"}, {"qs_hash", "ignored"}};
    EXPECT_EQ(scoreHashOf(game, kGameKey), "5b0aa5476f8947748dee581d7fd74547");
    EXPECT_EQ(scoreHashOf({{"b", "second"}, {"A", "first"}}, kGameKey), "1590aec26764b8e1bf19850508435ece");
    const int context = 0;
    EXPECT_LT(alphabeticSort("A", "b", &context), 0);
    EXPECT_GT(alphabeticSort("A", "b", nullptr), 0);
    EXPECT_NE(alphabeticSort("key", "KEY", &context), 0);
    EXPECT_TRUE(hashesEqual("0fa0", "0fa0"));
    EXPECT_FALSE(hashesEqual("0fa0", "0fa1"));
    EXPECT_FALSE(hashesEqual("0fa0", "0fa"));
}

}  // namespace
}  // namespace quintora
