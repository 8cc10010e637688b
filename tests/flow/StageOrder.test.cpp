// The run's order of stages, and its music started once.
#include <gtest/gtest.h>

#include <algorithm>

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

TEST(StageOrder, EveryOrderIsAPermutationOfTheSixteenStages) {
    for (const auto& order : kStageOrders) {
        std::vector<int> sorted(std::begin(order), std::end(order));
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < 16; ++i) EXPECT_EQ(sorted[i], i + 1);
    }
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
