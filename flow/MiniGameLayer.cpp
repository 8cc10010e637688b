#include "flow/MiniGameLayer.hpp"

#include <cstdio>
#include <cstdlib>

#include "engine/Accelerometer.hpp"
#include "engine/Director.hpp"
#include "engine/IntervalAction.hpp"
#include "flow/Controls.hpp"
#include "flow/GameState.hpp"
#include "flow/RunObserver.hpp"
#include "platform/Log.hpp"

namespace quintora {
namespace {
// Left-aligned under the time bar, clear of the lives row.
constexpr Point kHowToPlace{190, 283};
}  // namespace

void MiniGameLayer::init() {
    Layer::init();
    setIsTouchEnabled(true);
    seedRandomFromClock();
    GameSetting();
}

void MiniGameLayer::onExit() {
    if (holdsAccelerometer_ && Accelerometer::sharedAccelerometer().delegate() == this) {
        Accelerometer::sharedAccelerometer().setDelegate(nullptr);
    }
    holdsAccelerometer_ = false;
    Layer::onExit();
}

void MiniGameLayer::startTick() { schedule(QSEL(MiniGameLayer, Timecount), 0.1f); }

Ref<Sprite> MiniGameLayer::addSprite(const std::string& file, Point position, int z) {
    Ref<Sprite> sprite = Sprite::spriteWithFile(file);
    sprite->setPosition(position);
    addChild(sprite.get(), z);
    return sprite;
}

void MiniGameLayer::addHowTo(const std::string& stem) {
    howToPicture_ = "howto" + stem + (controllerInUse() ? "pad.png" : ".png");
    howTo_ = addSprite(howToPicture_, kHowToPlace, 1);
}

void MiniGameLayer::addTimeBar() {
    addSprite("timedown.png", {215, 304}, 1);
    Ref<Sprite> bar = addSprite("timeup.png", {215, 303}, 2);
    bar->runAction(MoveTo::actionWithDuration(5.0f, {-226, 303}));
}

void MiniGameLayer::takeAccelerometer() {
    Accelerometer::sharedAccelerometer().setDelegate(this);
    holdsAccelerometer_ = true;
}

void MiniGameLayer::Lifesetting() {
    for (int i = 0; i < game().Life; ++i)
        addSprite("life.png", {380.0f + 20.0f * static_cast<float>(i), 275}, lifeZ());
}

Point MiniGameLayer::touchPoint(const TouchSet& touches) {
    return Director::sharedDirector().convertCoordinate(touches.front().locationInView());
}

int MiniGameLayer::level() { return game().SelectLevel; }

void MiniGameLayer::Timecount(float) {
    unschedule(QSEL(MiniGameLayer, Timecount));
    CurrentTime = static_cast<float>(static_cast<double>(CurrentTime) + 0.1);
    if (logsTime()) platform::logf("%f", static_cast<double>(CurrentTime));
    schedule(QSEL(MiniGameLayer, Timecount), 0.1f);

    inTick_ = true;
    checksBeforeTimeOut();
    const TimeOut outcome = timeOutOutcome();
    if (outcome != TimeOut::None && static_cast<double>(CurrentTime) > 4.9) {
        game().win = outcome == TimeOut::Won;
        if (logsTimeOut()) platform::log("ok");
        unschedule(QSEL(MiniGameLayer, Timecount));
        ExitGame();
    }
    checksAfterTimeOut();
    inTick_ = false;
}

void MiniGameLayer::endStage(bool won) {
    // A result the player has been shown is not turned round by a later tap within the same touch.
    if (decided_ && !inTick_) return;
    game().win = won;
    unschedule(QSEL(MiniGameLayer, Timecount));
    ExitGame();
}

void MiniGameLayer::ExitGame() {
    // The result picture shows what was decided; input during it would only change the outcome under the
    // player's eyes, so the layer stops listening to touches (the tilt goes with the accelerometer below).
    decided_ = true;
    if (isTouchEnabled()) {
        Director::sharedDirector().removeEventHandler(this);
        setIsTouchEnabled(false);  // and so the keys, which follow the touches
    }
    if (holdsAccelerometer_) {
        Accelerometer::sharedAccelerometer().setDelegate(nullptr);
        holdsAccelerometer_ = false;
    }
    beforeExitGame();
    Ref<Sprite> results[2][5];
    for (int i = 0; i < 5; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "gamewin%d.png", i);
        results[1][i] = Sprite::spriteWithFile(name);
        std::snprintf(name, sizeof name, "gamelose%d.png", i);
        results[0][i] = Sprite::spriteWithFile(name);
    }
    const long k = random() % 5;
    Sprite* shown = results[game().win ? 1 : 0][k].get();
    shown->setPosition({240, 160});
    addChild(shown, 10);
    schedule(QSEL(MiniGameLayer, endcount), 1.0f);
}

void MiniGameLayer::endcount(float) {
    ExitGame2();
    unschedule(QSEL(MiniGameLayer, endcount));
}

void MiniGameLayer::ExitGame2() {
    GameState& state = game();
    if (state.practice) {
        // Practice books nothing and costs no life: the player hears the outcome and picks again.
        cs = ChangeClass::make();
        if (state.win) {
            cs->winsound();
        } else {
            cs->losesound();
        }
        Director::sharedDirector().replaceScene(navigation().practiceScene().get());
        return;
    }
    state.Totaltime += CurrentTime;
    if (RunObserver* observer = runObserver()) observer->stageBooked(state.RanStage, state.win);
    cs = ChangeClass::make();
    if (state.win) {
        cs->winsound();
        cs->StageChange();
    } else {
        cs->losesound();
        state.Life -= 1;
        platform::logf("life = %d", state.Life);
        cs->StageChange();
    }
}

}  // namespace quintora
