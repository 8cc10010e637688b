#pragma once
// The frame every mini-game is built on: a layer that sets its stage up, counts five seconds in ticks of
// 0.1 s under a sliding time bar, shows a win or lose picture for one second once the stage is decided,
// then books the stage's time, takes a life on a loss and asks the controller for the next stage.
//
// A game supplies GameSetting, its input handlers and its checks in the tick; everything in which a game
// departs from the frame is one of the hooks below.
#include <string>

#include "engine/Layer.hpp"
#include "engine/Scene.hpp"
#include "engine/Sprite.hpp"
#include "flow/ChangeClass.hpp"

namespace quintora {

// What running out of time means for a stage.
enum class TimeOut { Lost, Won, None };

class MiniGameLayer : public Layer {
  public:
    // Touch on, the random generator seeded from the clock, then GameSetting.
    void init() override;
    // A stage left before its end (from the pause box) must not leave the accelerometer calling it.
    void onExit() override;

    void Timecount(float);
    void ExitGame();
    void endcount(float);
    void ExitGame2();
    void Lifesetting();

    [[nodiscard]] float currentTime() const { return CurrentTime; }
    // Whether ExitGame has run: from then on the player's input is no longer judged.
    [[nodiscard]] bool isDecided() const { return decided_; }
    // The line saying what to do, and the picture it shows.
    [[nodiscard]] const Sprite* howToLine() const { return howTo_.get(); }
    [[nodiscard]] const std::string& howToPicture() const { return howToPicture_; }

  protected:
    MiniGameLayer() = default;

    // Builds the stage and starts the tick.
    virtual void GameSetting() = 0;

    // The game's own checks in the tick, before and after the time-out check.
    virtual void checksBeforeTimeOut() {}
    virtual void checksAfterTimeOut() {}
    [[nodiscard]] virtual TimeOut timeOutOutcome() const { return TimeOut::Lost; }
    // The z of the lives row.
    [[nodiscard]] virtual int lifeZ() const { return 101; }
    // Whether the tick writes the stage's time, and the time-out its "ok", to the log.
    [[nodiscard]] virtual bool logsTime() const { return true; }
    [[nodiscard]] virtual bool logsTimeOut() const { return true; }
    // Called first thing in ExitGame.
    virtual void beforeExitGame() {}

    // Building blocks of GameSetting.
    void startTick();
    Ref<Sprite> addSprite(const std::string& file, Point position, int z);
    void addBackground(const std::string& file) { addSprite(file, {240, 160}, 1); }
    // The line under the time bar saying what to do, worded for the controls in use: the picture
    // howto<stem>.png, or howto<stem>pad.png with a game controller. Called right after the background,
    // so that everything the stage puts on screen stays above it.
    void addHowTo(const std::string& stem);
    void addTimeBar();
    // Makes the layer the accelerometer's delegate until ExitGame.
    void takeAccelerometer();

    // Decides the stage: sets win, stops the tick and shows the result. Outside the tick only the first
    // decision counts; inside one tick the later check overwrites the earlier, as the deadline rules say.
    void endStage(bool won);
    // A touch's point in scene coordinates.
    [[nodiscard]] static Point touchPoint(const TouchSet& touches);
    // The level of the run, 1 to 3.
    [[nodiscard]] static int level();

    float CurrentTime = 0;
    Ref<ChangeClass> cs;

  private:
    bool holdsAccelerometer_ = false;
    bool decided_ = false;
    bool inTick_ = false;
    Ref<Sprite> howTo_;
    std::string howToPicture_;
};

// The scene of a mini-game: the game's layer at z 0.
template <class GameLayer>
class MiniGameScene : public Scene {
    QUINTORA_NODE(MiniGameScene)
  public:
    void init() override {
        Scene::init();
        addChild(GameLayer::node().get(), 0);
    }
};

template <class GameLayer>
Ref<Scene> makeMiniGameScene() {
    return MiniGameScene<GameLayer>::node();
}

}  // namespace quintora
