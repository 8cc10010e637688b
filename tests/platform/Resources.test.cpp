#include "platform/Resources.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace quintora::platform {
namespace {

TEST(Resources, NamesAreResolvedInsideTheResourceDirectory) {
    const std::string previous = resourceDirectory();
    for (const auto& [folder, path] : {std::pair{"/opt/res", "/opt/res/fonts/a.ttf"}, {"rel/res/", "rel/res/fonts/a.ttf"}, {"", "fonts/a.ttf"}}) {
        setResourceDirectory(folder);
        EXPECT_EQ(resourcePath("fonts/a.ttf"), path);
    }
    setResourceDirectory(previous);
}

TEST(Resources, TheEnvironmentNamesTheOnlyFolderLookedInAndItMustHoldTheGame) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("quintora-resources-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    ::setenv("QUINTORA_RESOURCES", folder.c_str(), 1);
    const ResourceSearch empty = findResourceDirectory();
    std::ofstream(folder / "logo.png") << "picture";
    const ResourceSearch full = findResourceDirectory();
    ::unsetenv("QUINTORA_RESOURCES");
    fs::remove_all(folder);

    EXPECT_EQ(empty.tried, std::vector<std::string>{folder.string()});
    EXPECT_FALSE(empty.found.has_value());
    EXPECT_EQ(full.found, folder.string());
    // Built here, the tests find the source tree's resources without being told.
    const ResourceSearch unset = findResourceDirectory();
    ASSERT_TRUE(unset.found.has_value());
    EXPECT_TRUE(fs::exists(fs::path(*unset.found) / "abt.png"));
}

}  // namespace
}  // namespace quintora::platform
