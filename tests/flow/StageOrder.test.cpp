// The run's order of stages, and its music started once.
#include <gtest/gtest.h>

#include "app/ChangeClass.hpp"
#include "support/Files.hpp"
#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

TEST(StageOrder, TheFirstDrawChoosesAnOrderFromTheClockAndWrapsAfterSixteen) {
    game().reset();
    // At this time of day the generator picks the sixth order, which starts with stage 3.
    platform::useVirtualClock(1230768001);
    ChangeClass::make()->SortStage();
    EXPECT_EQ(game().arrayselect, 6);
    EXPECT_EQ(game().RanStage, 3);
    std::vector<int> drawn{game().RanStage};
    for (int i = 1; i < 17; ++i) {
        ChangeClass::make()->SortStage();
        drawn.push_back(game().RanStage);
    }
    const std::vector<int> sixth(std::begin(kStageOrders[5]), std::end(kStageOrders[5]));
    EXPECT_EQ(std::vector<int>(drawn.begin(), drawn.begin() + 16), sixth);
    EXPECT_EQ(drawn[16], 3) << "after sixteen the order starts again";
    EXPECT_EQ(game().arrayselect, 6) << "chosen once per process";
    game().reset();
}

using RunTest = StageTest;

TEST_F(RunTest, TheMusicStartsOnceAProcess) {
    testing::CapturedLog log;
    ChangeClass::make()->soundgo();
    ChangeClass::make()->soundgo();
    EXPECT_EQ(game().sgo, 1);
    EXPECT_EQ(log.messages(), std::vector<std::string>{"Yes sound go 1"});
}

}  // namespace
}  // namespace quintora
