#include "games/GolfHole.hpp"

#include <cmath>
#include <vector>

#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kGolfHole = 14;
constexpr double kTilt = 0.5;  // what a held arrow key gives, in g

GolfHoleLayer* golf() { return StageTest::layerAs<GolfHoleLayer>(); }

// Tilts the ball through waypoints: the y reading rolls it across (y < 0 goes right), the x reading up
// and down.
void steer(StageTest& t, const std::vector<Point>& waypoints, int limit = 400) {
    std::size_t next = 0;
    for (int i = 0; i < limit && !StageTest::decided(); ++i) {
        const Point ball = golf()->ballPosition();
        while (next + 1 < waypoints.size() && std::fabs(waypoints[next].x - ball.x) < 6 &&
               std::fabs(waypoints[next].y - ball.y) < 6) {
            ++next;
        }
        const float dx = waypoints[next].x - ball.x, dy = waypoints[next].y - ball.y;
        t.setTilt(std::fabs(dy) < 4 ? 0 : (dy > 0 ? kTilt : -kTilt),
                  std::fabs(dx) < 4 ? 0 : (dx > 0 ? -kTilt : kTilt));
        t.tiltFrames(1);
    }
}

// Round the bunker's upper-left corner on level 2; straight between the hazards on 3.
void sinkIt(StageTest& t, int level) {
    const Point hole = golf()->holeRect().centre();
    steer(t, level == 2 ? std::vector<Point>{{50, 225}, hole} : std::vector<Point>{hole});
    EXPECT_LT(golf()->currentTime(), 4.0f);
}
// Into the lower pond on level 3, which loses at once; through the bunker, which is too slow, on 2.
void missIt(StageTest& t, int level) {
    if (level == 2) steer(t, {{200, 180}, golf()->holeRect().centre()});
    if (level != 3) return;
    steer(t, {{50, 90}, {200, 90}});
    EXPECT_LT(golf()->currentTime(), 4.0f);
}

}  // namespace

const StagePlayer kGolfHolePlayer{sinkIt, missIt, false};

}  // namespace quintora::testing
