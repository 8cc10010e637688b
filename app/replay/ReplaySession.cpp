#include "app/replay/ReplaySession.hpp"

#include "app/replay/ReplayFiles.hpp"
#include "app/screens/MenuScene.hpp"
#include "app/screens/RecordScene.hpp"
#include "engine/AlertView.hpp"
#include "engine/ColorRect.hpp"
#include "engine/Director.hpp"
#include "platform/Clock.hpp"
#include "platform/Log.hpp"

namespace quintora {

void ReplaySession::start(replay::Replay replay) {
    recorder_.abandon();
    menuAtFrame_ = 0;
    paused_ = false;
    fast_ = false;
    player_ = std::make_unique<ReplayPlayer>(std::move(replay));
    setRunObserver(player_.get());
    setNavigation(&navigation_);
    platform::log("replay started");
    platform::setVirtualClockMicros(player_->startMicros());
    Director& director = Director::sharedDirector();
    if (director.runningScene() != nullptr && runningSceneChild<MenuLayer>() == nullptr)
        director.replaceScene(MenuScene::node().get());
    if (use_ == Use::Verify) return;
    // A small see-through badge in the bottom left corner, where it hides the least of a stage.
    mark_ = Node::node();
    mark_->addChild(colorRect({{0, 0}, {104, 18}}, 0, 0, 0, 130).get());
    markLabel_ = Label::labelWithString("Replay", "Marker Felt", 14);
    markLabel_->setRGB(255, 222, 80);
    markLabel_->setPosition({52, 9});
    mark_->addChild(markLabel_.get());
    mark_->setPosition({2, 2});
    director.addOverlay(mark_.get());
}

void ReplaySession::poll(long frame) {
    if (menuAtFrame_ > 0 && frame >= menuAtFrame_) {
        menuAtFrame_ = 0;
        if (runningSceneChild<RecordLayer>() != nullptr)
            Director::sharedDirector().replaceScene(MenuScene::node().get());
    }
    std::optional<std::vector<std::uint8_t>> request = takeWatchRequest();
    if (!request) return;
    auto decoded = replay::decode(*request);
    if (auto* error = std::get_if<replay::ReadError>(&decoded)) {
        platform::logf("replay not played: %s", error->reason.c_str());
        const char* why = error->failure == replay::ReadFailure::OtherVersion
                              ? "This replay was recorded by another version of the game."
                              : "This replay file is damaged and cannot be played.";
        AlertView::alertWithTitle("Replay", why, nullptr, "OK")->show();
        return;
    }
    start(std::move(std::get<replay::Replay>(decoded)));
}

double ReplaySession::frameSeconds() const {
    return static_cast<double>(player_->frameStep()) / 1e6 / (fast_ ? 4 : 1);
}

void ReplaySession::frameDone(long frame) {
    player_->frameDone(Director::sharedDirector().isPaused());
    if (!player_->isOver()) return;
    verdict_ = player_->verdict();
    if (use_ == Use::Watch) {
        platform::logf("replay over: %s", verdict_->json().c_str());
        menuAtFrame_ = frame + kRunEndFrames;
    }
    stop();
}

bool ReplaySession::key(platform::Key key) {
    using platform::Key;
    if (key == Key::Space) {
        paused_ = !paused_;
    } else if (key == Key::F) {
        fast_ = !fast_;
    } else if (key == Key::Escape) {
        stop();
        Director& director = Director::sharedDirector();
        if (AlertView* alert = director.shownAlert()) alert->dismissWithClickedButtonIndex(0);
        director.resume();
        director.replaceScene(MenuScene::node().get());
        return true;
    } else {
        return false;
    }
    showState();
    return true;
}

void ReplaySession::showState() {
    if (markLabel_) markLabel_->setString(paused_ ? "Replay paused" : fast_ ? "Replay 4x" : "Replay");
}

void ReplaySession::stop() {
    player_.reset();
    setRunObserver(&recorder_);
    setNavigation(&screens_);
    if (mark_) Director::sharedDirector().removeOverlay(mark_.get());
    mark_ = nullptr;
    markLabel_ = nullptr;
    paused_ = false;
    fast_ = false;
}

}  // namespace quintora
