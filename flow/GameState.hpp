#pragma once
// The state every screen of a run shares. It lives as long as the process and is never saved; tests
// reset it.
#include <string>

namespace quintora {

struct GameState {
    int SelectLevel = 0;  // 1 Amateur, 2 Pro, 3 Legend
    int Life = 0;
    float Totaltime = 0;       // seconds; the run's score
    bool win = false;          // outcome of the current stage
    int RanStage = 0;          // the next stage's number, 1 to 16
    int stagenum = 0;          // position in the stage order of the next stage to draw, 0 to 15
    int arrayselect = 0;       // which stage order, 1 to 6; 0 until the first stage is drawn
    int sgo = 0;               // 1 once the music has started
    bool B_Record = false;     // the records screen ends a run (true) or was opened from the menu
    bool B_wordsumit = false;  // the world ranking posts the run's score on entry
    std::string NamePost;      // the name posted with the score
    bool practice = false;     // the stage running is played for practice: it books nothing

    void reset() { *this = GameState{}; }
};

// The one game state of the process.
GameState& game();

// Seeds the POSIX generator with the current time in whole seconds, as every stage does when it starts.
void seedRandomFromClock();

}  // namespace quintora
