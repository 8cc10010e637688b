#pragma once
// The diagnostic log: one sink for the whole program. Lines carry no behaviour; without a sink they are
// dropped. Each line is written as "<frame> <text>" so that a run's log can be compared line by line.
#include <cstdio>
#include <string>
#include <string_view>

namespace quintora::platform {

// Writes to the given file ("-" for standard output); an empty path drops every line.
[[nodiscard]] bool openLog(const std::string& path);
void closeLog();

// The frame number printed in front of each line; the application loop sets it before each frame.
void setLogFrame(long frame);

void log(std::string_view text);

// printf-style convenience for the log lines whose texts carry values.
[[gnu::format(printf, 1, 2)]] void logf(const char* format, ...);

}  // namespace quintora::platform
