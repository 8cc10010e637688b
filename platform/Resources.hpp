#pragma once
// Where the game's resource files (images, sounds, fonts) live. The game names a resource by its file
// name; this turns that name into a path on disk.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintora::platform {

// The folders a resource folder is looked for in, in order, and the first that holds the game's
// resources. $QUINTORA_RESOURCES, when set and not empty, is the only place looked in. Otherwise: the
// installed folder beside the executable (<bin>/../share/quintora), then, for a program run from the
// build tree, the source tree's resources folder.
struct ResourceSearch {
    std::vector<std::string> tried;
    std::optional<std::string> found;
};
[[nodiscard]] ResourceSearch findResourceDirectory();

// Replaces the resource folder for the rest of the run (tests point it at a temporary folder).
void setResourceDirectory(std::string dir);

// The resource folder: the last one set, else the one findResourceDirectory finds, else the first place
// it tried (so that a missing file is reported with a path that says where it was looked for).
[[nodiscard]] const std::string& resourceDirectory();

// The full path of a resource: "timeup.png" -> "<dir>/timeup.png", "fonts/x.ttf" -> "<dir>/fonts/x.ttf".
[[nodiscard]] std::string resourcePath(std::string_view name);

}  // namespace quintora::platform
