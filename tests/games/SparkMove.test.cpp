#include "games/SparkMove.hpp"

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kSparkMove = 3;
constexpr double kTilt = 0.5;  // what a held arrow key gives, in g

SparkMoveLayer* sparks() { return StageTest::layerAs<SparkMoveLayer>(); }
Rect figureRect() {
    return makeRect(sparks()->playerPosition().x - 14, sparks()->playerPosition().y - 20, 28, 40);
}
Rect sparkRect(int i) {
    return makeRect(sparks()->sparkPosition(i).x - 8, sparks()->sparkPosition(i).y - 18, 16, 36);
}

// Holds the keys that bring the figure towards a point (screen up is +x, screen right is -y).
void steerToward(StageTest& t, Point to) {
    const float dx = to.x - sparks()->playerPosition().x, dy = to.y - sparks()->playerPosition().y;
    t.setTilt(dy > 4 ? kTilt : dy < -4 ? -kTilt : 0, dx > 4 ? -kTilt : dx < -4 ? kTilt : 0);
}

// The clouds never drift left of x = 100: the left edge is out of every spark's way.
void hideLeft(StageTest& t, int level) {
    EXPECT_EQ(sparks()->sparks(), 4 + level);
    t.setTilt(0, kTilt);
}
// Chases the lowest spark still above the figure's feet.
void runUnderTheSparks(StageTest& t, int) {
    for (int i = 0; i < 400 && !StageTest::decided(); ++i) {
        int target = 0;
        for (int s = 1; s < sparks()->sparks(); ++s) {
            const float y = sparks()->sparkPosition(s).y;
            if (y > 60 && (sparks()->sparkPosition(target).y <= 60 || y < sparks()->sparkPosition(target).y))
                target = s;
        }
        steerToward(t, {sparks()->sparkPosition(target).x, 100});
        t.tiltFrames(1);
    }
    bool met = false;
    for (int s = 0; s < sparks()->sparks(); ++s) met = met || rectIntersectsRect(sparkRect(s), figureRect());
    EXPECT_TRUE(met);
}
// Left alone at the test clock's seed, no spark falls on the figure's starting place.

TEST_F(StageTest, AFallenSparkBelowTheScreenNoLongerHitsAFigureOnTheBottomEdge) {
    startStage(kSparkMove, 1);
    int fallen = -1;
    setTilt(0, kTilt);
    while (!decided() && fallen < 0) {
        tiltFrames(1);
        for (int s = 0; s < sparks()->sparks(); ++s)
            fallen = sparks()->sparkPosition(s).y <= -30 ? s : fallen;
    }
    ASSERT_GE(fallen, 0);
    const Point spark = sparks()->sparkPosition(fallen);
    bool under = false;
    while (!decided()) {
        steerToward(*this, {spark.x, 0});
        if (sparks()->playerPosition().y < 40) setTilt(-kTilt, tilt_.y);  // keep pressing into the edge
        tiltFrames(1);
        under = under || rectIntersectsRect(sparkRect(fallen), figureRect());
    }
    EXPECT_TRUE(under) << "the figure, half off screen, overlaps the spark lying out of sight";
    EXPECT_TRUE(game().win);
}

}  // namespace

const StagePlayer kSparkMovePlayer{hideLeft, runUnderTheSparks, true};

}  // namespace quintora::testing
