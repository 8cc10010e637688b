#pragma once
// The game as the score server knows it: its registered name and the secret key that signs its scores.
// The client signs with it and the bundled server checks with it; nothing else may spell them out.
#include <string_view>

namespace quintora {

inline constexpr std::string_view kGameName = "Quintora";
inline constexpr std::string_view kGameKey = "5f0c2d9b8e174a63b1c4e2f7a90d3e58";

}  // namespace quintora
