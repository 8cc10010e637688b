#pragma once
// Playing one stage through the real engine: the stage's scene runs under the director with a headless
// GL context and the virtual clock, and the test acts as a player would, with touches at scene points
// (converted to the portrait view's points, as the window does) and tilt samples at 60 a second.
#include <gtest/gtest.h>

#include <optional>

#include "app/ScreenNavigation.hpp"
#include "app/replay/RunRecorder.hpp"
#include "engine/Accelerometer.hpp"
#include "flow/ChangeClass.hpp"
#include "flow/GameState.hpp"
#include "flow/MiniGameLayer.hpp"
#include "games/StageTable.hpp"
#include "platform/Audio.hpp"
#include "platform/Clock.hpp"
#include "support/GLTest.hpp"

namespace quintora::testing {

class StageTest : public GLTest {
  public:
    void SetUp() override {
        GLTest::SetUp();
        platform::disableAudio();
        useScreenNavigation();  // a stage's end starts the next stage, or the records screen
        game().reset();
        game().arrayselect = 1;  // a known stage order for whatever follows the stage
        tilt_ = Acceleration{0, 0, -1, 0};
    }
    void TearDown() override {
        recordInto(nullptr);
        Accelerometer::sharedAccelerometer().setDelegate(nullptr);
        GLTest::TearDown();
        game().reset();
    }

    // Starts stage `number` of the rotation at a level with some lives, and lets it enter.
    MiniGameLayer* startStage(int number, int level, int lives = 5) {
        game().SelectLevel = level;
        game().Life = lives;
        Ref<Scene> scene = stageTable().at(static_cast<std::size_t>(number - 1)).makeScene();
        director().runWithScene(scene.get());
        frame();
        return stageLayer();
    }

    // The running stage's game layer.
    static MiniGameLayer* stageLayer() { return runningSceneChild<MiniGameLayer>(); }
    template <class GameLayer>
    static GameLayer* layerAs() {
        return dynamic_cast<GameLayer*>(stageLayer());
    }

    // A finger at a scene point, as the window reports it: the portrait view has the axes swapped.
    static void touch(TouchPhase phase, float x, float y) {
        if (recorder_ != nullptr) recorder_->touch(static_cast<int>(phase), 1, y, x);
        const TouchSet touches{Touch{1, {y, x}}};
        director().touches(phase, touches, TouchEvent{});
    }
    // Down in this frame, up in the next.
    static void tap(float x, float y) {
        touch(TouchPhase::Began, x, y);
        frame();
        touch(TouchPhase::Ended, x, y);
    }
    // A drag from one point to another in `steps` frames, with the finger lifted at the end.
    static void drag(Point from, Point to, int steps) {
        touch(TouchPhase::Began, from.x, from.y);
        for (int i = 1; i <= steps; ++i) {
            frame();
            const float t = static_cast<float>(i) / static_cast<float>(steps);
            touch(TouchPhase::Moved, from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t);
        }
        frame();
        touch(TouchPhase::Ended, to.x, to.y);
    }

    // Holds the device tilted (in g) from now on; frames deliver it at 60 samples a second.
    void setTilt(double x, double y) { tilt_ = Acceleration{x, y, -1, 0}; }
    void tiltFrames(int count) {
        for (int i = 0; i < count; ++i) {
            if (recorder_ == nullptr) Accelerometer::sharedAccelerometer().deliver(tilt_);
            frame();
        }
    }

    // Plays as the application does while it records a run: the held tilt reaches the game in every
    // frame it listens, and the recorder hears each touch, tilt and frame. Null stops recording.
    void recordInto(RunRecorder* recorder) {
        recorder_ = recorder;
        if (recorder == nullptr) {
            beforeFrame = nullptr;
            return;
        }
        beforeFrame = [this] {
            Accelerometer& accelerometer = Accelerometer::sharedAccelerometer();
            if (accelerometer.delegate() != nullptr && !director().isPaused()) {
                recorder_->tilt(tilt_);
                accelerometer.deliver(tilt_);
            }
            recorder_->frameClock(platform::virtualClockMicros());
        };
    }

    // Decided: the result picture is up and the hand-over is a second away.
    static bool decided() {
        MiniGameLayer* layer = stageLayer();
        return layer != nullptr && layer->isScheduled("endcount:");
    }
    // Runs frames (delivering the held tilt) until the stage is decided, at most `limit` frames; returns
    // whether it was decided.
    bool runUntilDecided(int limit = 400) {
        for (int i = 0; i < limit && !decided(); ++i) tiltFrames(1);
        return decided();
    }
    // Runs the second of the result picture, up to the hand-over to the next scene.
    void finishStage() {
        Scene* before = director().runningScene();
        for (int i = 0; i < 120 && director().runningScene() == before; ++i) frame();
    }

    // How many result pictures (win or lose) the running stage has put up.
    static int resultPictures() {
        int count = 0;
        for (const Ref<Node>& child : stageLayer()->children()) count += child->zOrder() == 10 ? 1 : 0;
        return count;
    }

    Acceleration tilt_;
    static inline RunRecorder* recorder_ = nullptr;
};

// How a player wins and how one loses a stage at a level: each stage's test file defines its own, and the
// rules every stage shares are checked once for all of them.
struct StagePlayer {
    void (*win)(StageTest&, int level);
    void (*lose)(StageTest&, int level);
    // Left untouched: whether the fiftieth tick wins, or nothing when the stage decides itself earlier.
    std::optional<bool> leftAlone;
};

extern const StagePlayer kHamburgerGamePlayer, kSameGrimPlayer, kSparkMovePlayer, kTakeTshirtsPlayer,
    kBaseballPlayer, kPhonenumberPlayer, kCardSpeedPlayer, kGamEatPlayer, kStopCarPlayer, kPlantTreePlayer,
    kDifferentPicturePlayer, kMathematicsPlayer, kDonttouchPlayer, kGolfHolePlayer, kFollowWayPlayer,
    kXmaxClickPlayer;

// The player of stage `number` (1 to 16), each defined beside its stage's own tests.
inline const StagePlayer& stagePlayer(int number) {
    static const StagePlayer* const players[] = {
        &kHamburgerGamePlayer, &kSameGrimPlayer,    &kSparkMovePlayer,        &kTakeTshirtsPlayer,
        &kBaseballPlayer,      &kPhonenumberPlayer, &kCardSpeedPlayer,        &kGamEatPlayer,
        &kStopCarPlayer,       &kPlantTreePlayer,   &kDifferentPicturePlayer, &kMathematicsPlayer,
        &kDonttouchPlayer,     &kGolfHolePlayer,    &kFollowWayPlayer,        &kXmaxClickPlayer};
    return *players[number - 1];
}

}  // namespace quintora::testing
