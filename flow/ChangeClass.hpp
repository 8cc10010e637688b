#pragma once
// The game-flow controller: draws the next stage of the run from the stage order and starts it, or ends
// the run on the records screen; it also starts the music and plays the win and lose sounds.
#include <array>
#include <optional>

#include "engine/Object.hpp"
#include "engine/Scene.hpp"
#include "flow/Navigation.hpp"
#include "platform/Audio.hpp"

namespace quintora {

// The six stage orders, each a permutation of the stages 1 to 16.
inline constexpr int kStageOrders[6][16] = {
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
    {16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1},
    {8, 7, 6, 5, 4, 3, 2, 1, 9, 10, 11, 12, 13, 14, 15, 16},
    {1, 3, 5, 7, 9, 11, 13, 15, 2, 4, 6, 8, 10, 12, 14, 16},
    {1, 16, 2, 15, 3, 4, 14, 13, 5, 12, 6, 11, 7, 10, 8, 9},
    {3, 4, 8, 9, 13, 14, 12, 5, 6, 10, 11, 15, 16, 7, 1, 2},
};

class ChangeClass : public Object {
  public:
    static Ref<ChangeClass> make() { return Ref<ChangeClass>(new ChangeClass()); }

    // Starts the next stage, or the records screen once no life is left.
    void StageChange();
    // A new run at the level chosen: no time yet, five lives, then its first stage.
    void startRun();
    // Advances the stage order and sets the next stage's number.
    void SortStage();
    // Starts the stage with the given number.
    void startStage(int number);

    void soundgo();
    void play();
    void winsound();
    void losesound();

  private:
    ChangeClass() = default;
    // Seeds the generator from the clock and plays one of the two sounds, each as likely.
    void playOneOf(std::optional<platform::SoundEffect>& first, const char* firstFile,
                   std::optional<platform::SoundEffect>& second, const char* secondFile);
    bool musicStarted_ = false;
    std::optional<platform::SoundEffect> winsound1, winsound2, losesound1, losesound2;
};

}  // namespace quintora
