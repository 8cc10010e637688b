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
    EXPECT_FALSE(previous.empty());

    setResourceDirectory("/opt/quintora/res");
    EXPECT_EQ(resourceDirectory(), "/opt/quintora/res");
    EXPECT_EQ(resourcePath("timeup.png"), "/opt/quintora/res/timeup.png");
    EXPECT_EQ(resourcePath("fonts/Marker.ttf"), "/opt/quintora/res/fonts/Marker.ttf");

    setResourceDirectory("relative/res/");
    EXPECT_EQ(resourcePath("timeup.png"), "relative/res/timeup.png");

    setResourceDirectory("");
    EXPECT_EQ(resourcePath("timeup.png"), "timeup.png");

    setResourceDirectory(previous);
    EXPECT_EQ(resourceDirectory(), previous);
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
