#include "platform/Resources.hpp"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

namespace quintora::platform {
namespace {

namespace fs = std::filesystem;

// The first picture the game shows: a folder without it holds no usable resources.
constexpr const char* kMarkerFile = "logo.png";

std::optional<std::string>& directorySetting() {
    static std::optional<std::string> directory;
    return directory;
}

std::optional<fs::path> executablePath() {
    std::error_code error;
    fs::path path = fs::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    return path;
}

bool isInside(const fs::path& path, const fs::path& folder) {
    const fs::path relative = path.lexically_normal().lexically_relative(folder.lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

bool holdsResources(const std::string& folder) {
    std::error_code error;
    return fs::is_regular_file(fs::path(folder) / kMarkerFile, error);
}

}  // namespace

ResourceSearch findResourceDirectory() {
    ResourceSearch search;
    if (const char* fromEnvironment = std::getenv("QUINTORA_RESOURCES");
        fromEnvironment != nullptr && *fromEnvironment != '\0') {
        search.tried.emplace_back(fromEnvironment);
    } else if (const auto executable = executablePath()) {
        const fs::path bin = executable->parent_path();
        search.tried.push_back((bin / QUINTORA_INSTALLED_RESOURCES).lexically_normal().string());
        // Only a program built here may fall back on the sources: an installed copy must not pick up
        // whatever checkout happens to sit at the path it was built from.
        if (isInside(*executable, QUINTORA_BUILD_DIR)) search.tried.emplace_back(QUINTORA_SOURCE_RESOURCES);
    } else {
        search.tried.emplace_back(QUINTORA_SOURCE_RESOURCES);
    }
    for (const std::string& folder : search.tried) {
        if (holdsResources(folder)) {
            search.found = folder;
            break;
        }
    }
    return search;
}

void setResourceDirectory(std::string dir) { directorySetting() = std::move(dir); }

const std::string& resourceDirectory() {
    auto& directory = directorySetting();
    if (!directory) {
        ResourceSearch search = findResourceDirectory();
        directory = search.found ? *search.found : search.tried.front();
    }
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
