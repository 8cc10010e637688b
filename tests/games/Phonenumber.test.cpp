#include "games/Phonenumber.hpp"

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kPhonenumber = 6;

PhonenumberLayer* phone() { return StageTest::layerAs<PhonenumberLayer>(); }
void dial(int digit) {
    StageTest::tap(phone()->keyRect(digit).centre().x, phone()->keyRect(digit).centre().y);
}

// Repeated digits are dialled once per occurrence, like any other.
void dialTheNumber(StageTest&, int level) {
    ASSERT_EQ(phone()->length(), 5 + level);
    for (int k = 0; k < phone()->length(); ++k) dial(phone()->digitAt(k));
    EXPECT_EQ(phone()->dialled(), phone()->length());
}
void dialAWrongKey(StageTest&, int) {
    dial(phone()->digitAt(0));
    dial((phone()->digitAt(1) + 1) % 10);
    EXPECT_TRUE(StageTest::decided()) << "the lose picture comes at once";
    EXPECT_EQ(phone()->dialled(), 1);
}

TEST_F(StageTest, KeysAfterTheWholeNumberAreIgnored) {
    for (const int extra : {0, 5}) {
        startStage(kPhonenumber, 3);
        const int n = phone()->length();
        for (int k = 0; k < n - 1; ++k) dial(phone()->digitAt(k));
        // The last digit and one more key within the same tenth of a second.
        for (const int digit : {phone()->digitAt(n - 1), extra}) {
            const Point key = phone()->keyRect(digit).centre();
            touch(TouchPhase::Began, key.x, key.y);
            touch(TouchPhase::Ended, key.x, key.y);
        }
        EXPECT_EQ(phone()->dialled(), n);
        EXPECT_FALSE(decided()) << "no lose picture for a key past the number";
        ASSERT_TRUE(runUntilDecided(10));
        dial(extra);
        EXPECT_TRUE(game().win) << "extra key " << extra;
        EXPECT_EQ(resultPictures(), 1);
        director().end();
    }
}

}  // namespace

const StagePlayer kPhonenumberPlayer{dialTheNumber, dialAWrongKey, false};

}  // namespace quintora::testing
