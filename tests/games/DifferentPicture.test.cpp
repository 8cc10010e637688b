#include "games/DifferentPicture.hpp"

#include <algorithm>

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kDifferentPicture = 11;

DifferentPictureLayer* pictures() { return StageTest::layerAs<DifferentPictureLayer>(); }
// A point inside a spot, on screen (a right-hand spot may reach past the screen's edge).
Point inside(Rect spot) { return {std::min(spot.centre().x, 478.0f), spot.centre().y}; }
void tapAt(Point p) { StageTest::tap(p.x, p.y); }

void tapTheRightSpot(StageTest&, int) { tapAt(inside(pictures()->spot(1))); }
void tapTheLives(StageTest&, int) { tapAt({420, 275}); }
const RegisterStage kPlayer(kDifferentPicture, {tapTheRightSpot, tapTheLives, false});

TEST_F(StageTest, ALevelOutsideTheTableShowsTheEasyPictures) {
    for (const int level : {0, 4}) {
        startStage(kDifferentPicture, level);
        tapAt(inside(pictures()->spot(0)));
        EXPECT_TRUE(game().win) << "level " << level;
        director().end();
    }
}

}  // namespace
}  // namespace quintora::testing
