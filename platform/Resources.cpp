#include "platform/Resources.hpp"

#include <cstdlib>
#include <optional>
#include <utility>

namespace quintora::platform {
namespace {

std::optional<std::string>& directorySetting() {
    static std::optional<std::string> directory;
    return directory;
}

std::string defaultDirectory() {
    if (const char* fromEnvironment = std::getenv("QUINTORA_RESOURCES");
        fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return fromEnvironment;
    }
    return QUINTORA_RESOURCES_DIR;
}

}  // namespace

void setResourceDirectory(std::string dir) { directorySetting() = std::move(dir); }

const std::string& resourceDirectory() {
    auto& directory = directorySetting();
    if (!directory) directory = defaultDirectory();
    return *directory;
}

std::string resourcePath(std::string_view name) {
    const std::string& dir = resourceDirectory();
    if (dir.empty()) return std::string(name);
    std::string path = dir;
    if (path.back() != '/') path += '/';
    path += name;
    return path;
}

}  // namespace quintora::platform
