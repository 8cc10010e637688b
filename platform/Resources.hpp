#pragma once
// Where the game's resource files (images, sounds, fonts) live. The game names a resource by its file
// name; this turns that name into a path on disk.
#include <string>
#include <string_view>

namespace quintora::platform {

// Replaces the resource folder for the rest of the run (tests point it at a temporary folder).
void setResourceDirectory(std::string dir);

// The resource folder: the last one set, else $QUINTORA_RESOURCES when set and not empty, else the
// resources folder of the source tree the program was built from.
[[nodiscard]] const std::string& resourceDirectory();

// The full path of a resource: "timeup.png" -> "<dir>/timeup.png", "fonts/x.ttf" -> "<dir>/fonts/x.ttf".
[[nodiscard]] std::string resourcePath(std::string_view name);

}  // namespace quintora::platform
