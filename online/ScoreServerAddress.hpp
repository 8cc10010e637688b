#pragma once
// Where the score server is: set once at start-up, read by every client made afterwards.
#include <string>

namespace quintora {

// The server's base address ("http://host:port", no trailing slash); empty when there is none, and every
// exchange then fails as a lost connection would.
void setScoreServerAddress(std::string baseAddress);
[[nodiscard]] const std::string& scoreServerAddress();

}  // namespace quintora
