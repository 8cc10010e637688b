#include "games/SameGrim.hpp"

#include <string>

#include "engine/TextureMgr.hpp"
#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kSameGrim = 2;

SameGrimLayer* grim() { return StageTest::layerAs<SameGrimLayer>(); }

// The image (0 to 7) a large picture shows, told by its picture.
int imageOf(int large) {
    for (int i = 0; i < 8; ++i) {
        const std::string name = "samegrim" + std::to_string(i + 1) + ".png";
        if (grim()->largePicture(large)->texture() == TextureMgr::sharedTextureMgr().addImage(name)) return i;
    }
    return -1;
}
Point home(int small) { return {75.0f + 50.0f * static_cast<float>(small), 90}; }
void dropOn(int small, int large) {
    StageTest::drag(home(small), grim()->largePicture(large)->position(), 6);
}
bool tinted(int large) {
    const Sprite* s = grim()->largePicture(large);
    return s->r() == 255 && s->g() == 0 && s->b() == 0;
}

void matchEveryPicture(StageTest& t, int level) {
    for (int i = 0; i <= level; ++i) {
        ASSERT_NE(grim()->largePicture(i), nullptr);
        ASSERT_LT(imageOf(i), 2 * level + 2) << "drawn among the pictures in play";
        dropOn(imageOf(i), i);
        EXPECT_EQ(grim()->smallPicture(imageOf(i))->position(), home(imageOf(i))) << "sent home";
    }
    EXPECT_EQ(grim()->largePicture(level + 1), nullptr);
    t.frames(20);
    for (int i = 0; i <= level; ++i) EXPECT_TRUE(tinted(i));
}
// A wrong drop only costs time, and crossed-out pictures never score.
void dropAWrongOne(StageTest& t, int level) {
    dropOn((imageOf(0) + 1) % (2 * level + 2), 0);
    for (int crossed = 2 * level + 2; crossed < 8; ++crossed) dropOn(crossed, 0);
    t.frames(20);
    EXPECT_FALSE(tinted(0));
}

TEST_F(StageTest, DragsThatPickNothingOrAreCancelledScoreNothing) {
    startStage(kSameGrim, 3);
    // Begun on the background: nothing was picked, so nothing moves and no drop is judged.
    for (int i = 0; i < 4; ++i) drag({240, 150}, grim()->largePicture(i)->position(), 4);
    for (int small = 0; small < 8; ++small) EXPECT_EQ(grim()->smallPicture(small)->position(), home(small));
    // A lost touch sends the picture home without scoring.
    const int image = imageOf(0);
    touch(TouchPhase::Began, home(image).x, home(image).y);
    frame();
    touch(TouchPhase::Moved, grim()->largePicture(0)->position().x, 200);
    EXPECT_EQ(grim()->smallPicture(image)->position(), (Point{grim()->largePicture(0)->position().x, 200}));
    touch(TouchPhase::Cancelled, grim()->largePicture(0)->position().x, 200);
    EXPECT_EQ(grim()->smallPicture(image)->position(), home(image));
    frames(20);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(tinted(i));
}

TEST_F(StageTest, ASecondFingerTakesOverOnlyWhenItMeetsAPicture) {
    startStage(kSameGrim, 1);
    const int image = imageOf(0), other = (image + 1) % 8;
    const Point target = grim()->largePicture(0)->position();
    touch(TouchPhase::Began, home(image).x, home(image).y);
    frame();
    touch(TouchPhase::Moved, 300, 160);
    touch(TouchPhase::Began, 240, 20);  // a second finger on the background: the picture stays held
    EXPECT_EQ(grim()->smallPicture(image)->position(), (Point{300, 160}));
    touch(TouchPhase::Began, home(image).x, home(image).y);  // on the held picture's home: still held
    touch(TouchPhase::Moved, target.x, target.y);
    touch(TouchPhase::Ended, target.x, target.y);  // the first finger's drop is judged
    frames(20);
    EXPECT_TRUE(tinted(0));

    touch(TouchPhase::Began, home(other).x, home(other).y);
    touch(TouchPhase::Moved, 300, 160);
    touch(TouchPhase::Began, home(image).x, home(image).y);  // a second finger meets another picture
    EXPECT_EQ(grim()->smallPicture(other)->position(), home(other));
    touch(TouchPhase::Moved, 310, 170);
    EXPECT_EQ(grim()->smallPicture(image)->position(), (Point{310, 170}));
}

}  // namespace

const StagePlayer kSameGrimPlayer{matchEveryPicture, dropAWrongOne, false};

}  // namespace quintora::testing
