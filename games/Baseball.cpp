#include "games/Baseball.hpp"

#include "engine/EaseAction.hpp"
#include "engine/IntervalAction.hpp"
#include "flow/GameState.hpp"
#include "platform/Log.hpp"

namespace quintora {

void BaseballLayer::GameSetting() {
    Lifesetting();
    startTick();
    addBackground("baseballbg.png");
    addHowTo("baseball");
    addTimeBar();

    addSprite("baseballhome.png", {240, 40}, 1);
    R_two = getFrame(addSprite("baseballtwo.png", {240, 260}, 1).get());
    addSprite("baseballpit.png", {240, 170}, 1);
    addSprite("baseballbat.png", {200, 40}, 1);
    R_click = getFrame(addSprite("baseballrun.png", {410, 50}, 1).get());
    S_player = addSprite("baseballsteal.png", {420, 170}, 1);

    ballspeed = level() == 3 ? 1.5f : level() == 2 ? 2.0f : 3.0f;

    S_ball = addSprite("baseballball.png", {240, 170}, 2);
    move = Sequence::actions({
        EaseOut::actionWithAction(MoveTo::actionWithDuration(1.0f, {240, 40}), 2.5f),
        EaseOut::actionWithAction(MoveTo::actionWithDuration(ballspeed, {240, 260}), 2.5f),
    });
    S_ball->runAction(move);
}

bool BaseballLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    if (rectIntersectsRect(makeRect(p.x, p.y, 30, 30), R_click)) {
        const Point at = S_player->position();
        S_player->setPosition({at.x - 12, at.y + 6});
    }
    return true;
}

void BaseballLayer::checksBeforeTimeOut() {
    R_ball = getFrame(S_ball.get());
    R_player = getFrame(S_player.get());
    if (rectIntersectsRect(R_ball, R_two)) {
        platform::log("no");
        endStage(false);
    }
    // Judged even when the ball got there in the same tick: the runner's arrival has the last word.
    if (rectIntersectsRect(R_player, R_two)) {
        platform::log("yes");
        endStage(true);
    }
}

void BaseballLayer::beforeExitGame() {
    // The ball stays where it was when the stage was decided.
    S_ball->stopAction(move.get());
}

}  // namespace quintora
