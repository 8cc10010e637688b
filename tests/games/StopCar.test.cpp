#include "games/StopCar.hpp"

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kStopCar = 9;

StopCarLayer* road() { return StageTest::layerAs<StopCarLayer>(); }
bool driving(int i) { return road()->car(i)->tag() == StopCarLayer::kDriving; }
// A finger on the car's tail: the hit test uses where the last tick saw the car, a little behind it.
Point tail(int i) { return road()->car(i)->position() + Point{30, 0}; }

// Whether a finger on car i's tail would also stop one of the spared cars.
bool meetsSpared(int i, unsigned spare) {
    const Rect finger = makeRect(tail(i).x, tail(i).y, 5, 5);
    for (int j = 0; j < road()->carCount(); ++j) {
        if ((spare & (1u << j)) != 0 && rectIntersectsRect(finger, road()->carRect(j))) return true;
    }
    return false;
}

// Stops every car in sight except those in `spare`, one tap at a time.
void stopCars(StageTest& t, unsigned spare) {
    for (int f = 0; f < 400 && !StageTest::decided(); ++f) {
        bool tapped = false;
        for (int i = 0; i < road()->carCount() && !tapped; ++i) {
            if ((spare & (1u << i)) == 0 && driving(i) && road()->car(i)->position().x < 470 &&
                road()->carRect(i).size.width > 0 && !meetsSpared(i, spare)) {
                StageTest::tap(tail(i).x, tail(i).y);
                tapped = true;
            }
        }
        if (!tapped) t.frame();
    }
}

void stopAll(StageTest& t, int level) {
    EXPECT_EQ(road()->carCount(), level + 2);
    stopCars(t, 0);
    EXPECT_EQ(road()->stoppedCount(), level + 2);
}
// One car let through loses, even with every other car stopped.
void spareOne(StageTest& t, int level) {
    stopCars(t, 1u);
    EXPECT_EQ(road()->stoppedCount(), level + 1);
}

}  // namespace

const StagePlayer kStopCarPlayer{stopAll, spareOne, std::nullopt};

}  // namespace quintora::testing
