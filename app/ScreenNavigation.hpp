#pragma once
// How a run reaches the game's screens: the stage table for the next stage, the records screen at the end
// of a run, the practice grid after a practice stage.
namespace quintora {

// Sets it as the run framework's navigation: at start-up, and in tests that play stages to their end.
void useScreenNavigation();

}  // namespace quintora
