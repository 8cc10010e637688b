#include "platform/Resources.hpp"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quintora::platform
