#pragma once
// The game as the score server knows it: its registered name, the secret key that signs its scores, and
// the categories its levels rank in. The client signs with the key and the bundled server checks with it;
// nothing else may spell them out.
#include <array>
#include <string_view>

namespace quintora {

inline constexpr std::string_view kGameName = "Quintora";
inline constexpr std::string_view kGameKey = "5f0c2d9b8e174a63b1c4e2f7a90d3e58";
// The categories of levels 1, 2 and 3.
inline constexpr std::array<std::string_view, 3> kLevelCategories{"Amateur", "Pro", "Legend"};

}  // namespace quintora
