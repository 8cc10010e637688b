#pragma once
// The sixteen stages of the rotation, by number: the one place that names every game.
#include <array>

#include "flow/Navigation.hpp"

namespace quintora {

[[nodiscard]] const std::array<StageEntry, 16>& stageTable();

}  // namespace quintora
