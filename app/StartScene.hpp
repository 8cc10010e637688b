#pragma once
#include "engine/Scene.hpp"

namespace quintora {

// The scene the game opens with.
[[nodiscard]] Ref<Scene> startScene();

}  // namespace quintora
