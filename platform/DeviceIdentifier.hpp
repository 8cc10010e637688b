#pragma once
// This device's identifier, as the score server knows the player's machine: a random version-4 UUID
// ("xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx", lower-case hex) made on first use and kept in the defaults store,
// so it stays the same across runs.
#include <string>

namespace quintora::platform {

class UserDefaults;

// Kept in the given store.
[[nodiscard]] std::string deviceIdentifier(UserDefaults& defaults);

// Kept in the shared store.
[[nodiscard]] std::string deviceIdentifier();

}  // namespace quintora::platform
