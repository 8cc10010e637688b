#include "flow/ChangeClass.hpp"

#include <cstdlib>

#include "engine/Director.hpp"
#include "flow/GameState.hpp"
#include "flow/RunObserver.hpp"
#include "platform/Log.hpp"

namespace quintora {

void ChangeClass::StageChange() {
    soundgo();
    SortStage();
    game().B_Record = true;
    platform::logf("totaltime = %f", static_cast<double>(game().Totaltime));
    if (game().Life == 0) {
        if (RunObserver* observer = runObserver()) observer->runEnded(game());
        Director::sharedDirector().replaceScene(navigation().recordsScene().get());
        return;
    }
    startStage(game().RanStage);
}

void ChangeClass::startRun() {
    game().Totaltime = 0;
    game().Life = 5;
    if (RunObserver* observer = runObserver()) observer->runStarting(game());
    StageChange();
}

void ChangeClass::SortStage() {
    GameState& state = game();
    if (state.arrayselect == 0) {
        seedRandomFromClock();
        state.arrayselect = static_cast<int>(random() % 6) + 1;
    }
    platform::logf("arr = %d", state.arrayselect);
    platform::logf("stage = %d", state.stagenum);
    state.RanStage = kStageOrders[state.arrayselect - 1][state.stagenum];
    state.stagenum = (state.stagenum + 1) % 16;
}

void ChangeClass::startStage(int number) {
    const StageEntry& entry = navigation().stage(number);
    if (entry.logLine != nullptr) platform::log(entry.logLine);
    Director::sharedDirector().replaceScene(entry.makeScene().get());
}

// Sound and music

void ChangeClass::soundgo() {
    GameState& state = game();
    if (state.sgo != 0) return;
    state.sgo = 1;
    platform::logf("Yes sound go %d", state.sgo);
    if (!musicStarted_) {
        // Played once and then repeated twenty times.
        musicStarted_ = platform::playMusic("quintorabgm.mp3", 20);
        play();
    }
}

void ChangeClass::play() {
    // The music already plays from playMusic; the desktop has no audio session to set up.
}

void ChangeClass::winsound() { playOneOf(winsound1, "win0.wav", winsound2, "win1.wav"); }

void ChangeClass::losesound() { playOneOf(losesound1, "lose0.wav", losesound2, "lose1.wav"); }

void ChangeClass::playOneOf(std::optional<platform::SoundEffect>& first, const char* firstFile,
                            std::optional<platform::SoundEffect>& second, const char* secondFile) {
    seedRandomFromClock();
    // Each sound file is loaded once for the whole run and shared, so sounds play out however often
    // stages end.
    first = platform::SoundEffect::load(firstFile);
    second = platform::SoundEffect::load(secondFile);
    const long r = random() % 2;
    const auto& chosen = r == 1 ? second : first;
    if (chosen) chosen->play();
}

}  // namespace quintora
