#pragma once
// The screens around a run, as the run framework reaches them. The application fills this in at start-up,
// so that the framework and the games never name a screen (nor the games a screen nor each other).
#include "engine/Object.hpp"
#include "engine/Scene.hpp"

namespace quintora {

// One stage of the rotation: its number, the name of its start operation and its scene.
struct StageEntry {
    int number;
    const char* operation;
    const char* logLine;  // written when the stage starts, or null
    Ref<Scene> (*makeScene)();
    const char* title;  // what the player sees in the practice menu
};

class Navigation {
  public:
    virtual ~Navigation() = default;
    // The stage with this number, 1 to 16.
    [[nodiscard]] virtual const StageEntry& stage(int number) const = 0;
    // Where a run ends: the records screen.
    [[nodiscard]] virtual Ref<Scene> recordsScene() const = 0;
    // Where a practice stage returns: the practice grid.
    [[nodiscard]] virtual Ref<Scene> practiceScene() const = 0;
};

// The navigation in use; the caller keeps it alive for as long as it is set.
void setNavigation(const Navigation* navigation);
// Stops the program with a message when none was set: a start-up that forgot it is a programming error.
[[nodiscard]] const Navigation& navigation();

}  // namespace quintora
