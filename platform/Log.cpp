#include "platform/Log.hpp"

#include <cstdarg>
#include <vector>

namespace quintora::platform {
namespace {

FILE* sink = nullptr;
bool ownsSink = false;
long currentFrame = 0;

}  // namespace

bool openLog(const std::string& path) {
    closeLog();
    if (path.empty()) return true;
    if (path == "-") {
        sink = stdout;
        return true;
    }
    sink = std::fopen(path.c_str(), "w");
    ownsSink = sink != nullptr;
    return sink != nullptr;
}

void closeLog() {
    if (ownsSink && sink) std::fclose(sink);
    sink = nullptr;
    ownsSink = false;
}

void setLogFrame(long frame) { currentFrame = frame; }

void log(std::string_view text) {
    if (!sink) return;
    std::fprintf(sink, "%ld %.*s\n", currentFrame, static_cast<int>(text.size()), text.data());
    // A crash must not lose the lines that led up to it.
    std::fflush(sink);
}

void logf(const char* format, ...) {
    if (!sink) return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length >= 0) {
        std::vector<char> text(static_cast<size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        log(std::string_view(text.data(), static_cast<size_t>(length)));
    }
    va_end(args);
}

}  // namespace quintora::platform
