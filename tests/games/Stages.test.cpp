// The rules every stage shares, checked for each of the sixteen with the player its own test file
// registers: a win keeps the lives, a loss costs one and says so in the log, both add the stage's time to
// the total and hand over to the next stage, and a stage left alone ends at the fiftieth tick.
#include <algorithm>

#include "app/desktop/Keyboard.hpp"
#include "flow/Controls.hpp"
#include "support/Files.hpp"
#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr float kFiftiethTick = 4.9999976f;

class StageRules : public StageTest, public ::testing::WithParamInterface<int> {
  public:
    const StagePlayer& player() { return stagePlayer(GetParam()); }

    // Plays the stage at every level and checks the bookkeeping of its outcome.
    void playEveryLevel(void (*play)(StageTest&, int), bool won) {
        ASSERT_NE(play, nullptr);
        for (int level = 1; level <= 3; ++level) {
            SCOPED_TRACE("level " + std::to_string(level));
            CapturedLog log;
            game().Totaltime = 1.5f;
            const Ref<MiniGameLayer> layer(startStage(GetParam(), level, 3));
            ASSERT_NE(layer.get(), nullptr);
            play(*this, level);
            ASSERT_TRUE(runUntilDecided());
            EXPECT_EQ(game().win, won);
            Scene* stage = director().runningScene();
            finishStage();
            const float spent = layer->currentTime();  // some stages tick on under the result picture
            EXPECT_NE(director().runningScene(), stage) << "the next stage follows";
            EXPECT_EQ(game().Life, won ? 3 : 2);
            EXPECT_NEAR(game().Totaltime, 1.5f + spent, 1e-4);
            const std::vector<std::string> lines = log.messages();
            EXPECT_EQ(std::count(lines.begin(), lines.end(), "life = 2"), won ? 0 : 1);
            director().end();
        }
    }
};

TEST_P(StageRules, WonAtEveryLevel) { playEveryLevel(player().win, true); }

TEST_P(StageRules, LostAtEveryLevel) { playEveryLevel(player().lose, false); }

TEST_P(StageRules, LeftAloneEndsAsItsRulesSay) {
    const std::optional<bool> outcome = player().leftAlone;
    MiniGameLayer* layer = startStage(GetParam(), 2);
    setTilt(0, 0);
    ASSERT_TRUE(runUntilDecided());
    if (outcome) {
        EXPECT_FLOAT_EQ(layer->currentTime(), kFiftiethTick);
        EXPECT_EQ(game().win, *outcome);
        EXPECT_EQ(resultPictures(), 1);
    } else {
        EXPECT_LT(layer->currentTime(), 4.5f) << "decided before the time-out";
        EXPECT_FALSE(game().win);
    }
}

// Whatever comes during the result picture (taps all over the screen, the device tilted every way, the
// digit keys and Return) changes nothing: the stage counts once, as first decided.
TEST_P(StageRules, AShownResultStandsWhateverComesAfter) {
    for (const bool won : {true, false}) {
        SCOPED_TRACE(won ? "won first" : "lost first");
        const Ref<MiniGameLayer> layer(startStage(GetParam(), 1, 3));
        (won ? player().win : player().lose)(*this, 1);
        ASSERT_TRUE(runUntilDecided());
        ASSERT_EQ(game().win, won);
        for (int i = 0; i < 32 * 22; ++i) {
            touch(TouchPhase::Began, 5.0f + 15.0f * static_cast<float>(i % 32),
                  5.0f + 15.0f * static_cast<float>(i / 32));
            touch(TouchPhase::Ended, 240, 160);
            setTilt(i % 4 < 2 ? 1 - 2 * (i % 2) : 0, i % 4 < 2 ? 0 : 1 - 2 * (i % 2));
            const auto digit = static_cast<platform::Key>(static_cast<int>(platform::Key::Digit0) + i % 10);
            for (const platform::Key key : {digit, platform::Key::Return}) deliverKeyToScene(key);
            if (i % 32 == 0) tiltFrames(1);
        }
        EXPECT_EQ(resultPictures(), 1);
        finishStage();
        EXPECT_EQ(game().Life, won ? 3 : 2);
        EXPECT_FLOAT_EQ(game().Totaltime, layer->currentTime());
        director().end();
        game().Totaltime = 0;
    }
}

// From its first frame, every stage says what to do in one line at one place, worded for the controls in
// use: the mouse and keyboard, or a game controller once one is used.
TEST_P(StageRules, SaysWhatToDoForTheControlsInUse) {
    for (const bool pad : {false, true}) {
        setControllerInUse(pad);
        for (int level = 1; level <= 3; ++level) {
            SCOPED_TRACE(std::string(pad ? "controller" : "keyboard") + ", level " + std::to_string(level));
            const Ref<MiniGameLayer> layer(startStage(GetParam(), level));
            ASSERT_NE(layer->howToLine(), nullptr);
            const std::string& picture = layer->howToPicture();
            EXPECT_EQ(picture.rfind("howto", 0), 0u) << picture;
            EXPECT_EQ(picture.size() > 7 && picture.substr(picture.size() - 7) == "pad.png", pad) << picture;
            EXPECT_EQ(layer->howToLine()->parent(), layer.get());
            EXPECT_TRUE(layer->howToLine()->visible());
            EXPECT_EQ(layer->howToLine()->position(), (Point{190, 283}));
            EXPECT_EQ(layer->howToLine()->contentSize().width, 360);
            director().end();
        }
    }
    setControllerInUse(false);
}

INSTANTIATE_TEST_SUITE_P(Stage, StageRules, ::testing::Range(1, 17));

}  // namespace
}  // namespace quintora::testing
