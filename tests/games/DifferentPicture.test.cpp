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
// Every further tap while the result shows is judged again: the last one decides.
void tapTheLives(StageTest&, int) {
    tapAt(inside(pictures()->spot(0)));
    EXPECT_TRUE(game().win);
    tapAt({420, 275});
}
const RegisterStage kPlayer(kDifferentPicture, {tapTheRightSpot, tapTheLives, false});

TEST_F(StageTest, TheTouchSquareReachesTheSpotInEitherDrawingFromBelowAndLeftOnly) {
    const struct {
        float dx, dy;  // from the spot's lower left corner, or from its centre where zero
        bool wins;
    } cases[] = {{-29, 0, true}, {0, -29, true}, {-30, 0, false}, {0, -30, false}};
    for (int side = 0; side < 2; ++side) {
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message() << "side " << side << " at " << c.dx << ", " << c.dy);
            startStage(kDifferentPicture, 1);
            const Rect spot = pictures()->spot(side);
            const Point centre = inside(spot);
            touch(TouchPhase::Began, c.dx != 0 ? spot.origin.x + c.dx : centre.x,
                  c.dy != 0 ? spot.origin.y + c.dy : centre.y);
            EXPECT_TRUE(decided()) << "a tap decides at once";
            EXPECT_EQ(game().win, c.wins);
            director().end();
        }
    }
}

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
