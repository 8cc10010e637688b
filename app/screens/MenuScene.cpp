#include "app/screens/MenuScene.hpp"

#include "app/screens/HelpScene.hpp"
#include "app/screens/PracticeScene.hpp"
#include "app/screens/RecordScene.hpp"
#include "engine/AlertView.hpp"
#include "engine/Director.hpp"
#include "engine/InstantAction.hpp"
#include "engine/IntervalAction.hpp"
#include "engine/Sprite.hpp"
#include "flow/GameState.hpp"
#include "flow/MiniGameLayer.hpp"
#include "platform/Log.hpp"

namespace quintora {

void MenuScene::init() {
    Scene::init();
    addChild(MenuLayer::node().get(), 1);
}

void MenuLayer::init() {
    Layer::init();
    Logo();
    setIsTouchEnabled(true);
}

void MenuLayer::Logo() {
    Ref<Sprite> logo = Sprite::spriteWithFile("logo.png");
    addChild(logo.get(), 0);
    logo->setPosition({240, 160});
    logo->setOpacity(0);
    logo_ = logo;
    logo->runAction(Sequence::actions({FadeIn::actionWithDuration(1.0f), DelayTime::actionWithDuration(1.0f),
                                       FadeOut::actionWithDuration(1.0f),
                                       CallFuncN::actionWithTarget(this, QCALLN(MenuLayer, MainBG))}));
}

void MenuLayer::MainBG(Node*) {
    buttonsUp_ = true;
    auto place = [this](const char* file, Point position) {
        Ref<Sprite> sprite = Sprite::spriteWithFile(file);
        sprite->setPosition(position);
        addChild(sprite.get());
        return getFrame(sprite.get());
    };
    place("mainbg.png", {240, 160});
    R_abt = place("abt.png", {150, 150});
    R_pbt = place("pbt.png", {200, 90});
    R_lbt = place("lbt.png", {300, 50});
    R_rbt = place("rbt.png", {40, 30});
    R_practice = place("practicebt.png", kPracticeFrame.centre());
    place("helpbt.png", kHelpFrame.centre());
    place("quitbt.png", kQuitFrame.centre());
    focus_.setButtons(this, 1, {R_abt, R_pbt, R_lbt, R_rbt, R_practice, kHelpFrame, kQuitFrame}, Amateur);
    cs = ChangeClass::make();
    game().B_Record = false;
    game().Totaltime = 0;
}

bool MenuLayer::skipLogo() {
    if (buttonsUp_) return false;
    logo_->stopAllActions();
    logo_->setVisible(false);
    MainBG(logo_.get());
    return true;
}

bool skipRunningMenuLogo() {
    MenuLayer* menu = runningSceneChild<MenuLayer>();
    return menu != nullptr && menu->skipLogo();
}

bool MenuLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    // The touch that skips the logo presses nothing: the buttons were not there to see.
    if (skipLogo()) return true;
    const Point p = Director::sharedDirector().convertCoordinate(touches.front().locationInView());
    const Rect touch{p, {5, 5}};
    // Each button is tested on its own: a touch that meets two presses both.
    if (rectIntersectsRect(touch, R_abt)) StarterL();
    if (rectIntersectsRect(touch, R_pbt)) NormalL();
    if (rectIntersectsRect(touch, R_lbt)) HardL();
    if (rectIntersectsRect(touch, R_rbt)) RecordL();
    if (rectIntersectsRect(touch, R_practice)) PracticeL();
    if (rectIntersectsRect(touch, kHelpFrame)) HelpL();
    if (rectIntersectsRect(touch, kQuitFrame)) QuitL();
    return true;
}

bool MenuLayer::keyPressed(platform::Key key) {
    // The logo is still up: there is nothing to press yet.
    if (focus_.isEmpty()) return false;
    if (focus_.arrowKey(key)) return true;
    if (key == platform::Key::Return) {
        press(focus_.focused());
        return true;
    }
    if (key == platform::Key::Escape) {
        QuitL();
        return true;
    }
    return false;
}

void MenuLayer::press(int button) {
    switch (button) {
        case Amateur:
            StarterL();
            break;
        case Pro:
            NormalL();
            break;
        case Legend:
            HardL();
            break;
        case Records:
            RecordL();
            break;
        case Practice:
            PracticeL();
            break;
        case Help:
            HelpL();
            break;
        case Quit:
            QuitL();
            break;
        default:
            break;
    }
}

void MenuLayer::StarterL() {
    game().SelectLevel = 1;
    GameSetting();
}

void MenuLayer::NormalL() {
    game().SelectLevel = 2;
    GameSetting();
}

void MenuLayer::HardL() {
    game().SelectLevel = 3;
    GameSetting();
}

void MenuLayer::RecordL() { RecordGo(); }

void MenuLayer::RecordGo() { Director::sharedDirector().replaceScene(RecordScene::node().get()); }

void MenuLayer::PracticeL() { Director::sharedDirector().replaceScene(PracticeScene::node().get()); }

void MenuLayer::HelpL() { Director::sharedDirector().replaceScene(HelpScene::node().get()); }

void MenuLayer::QuitL() {
    if (Director::sharedDirector().shownAlert() != nullptr) return;
    // Return stays, as the first button; Escape again quits, as the last.
    Ref<AlertView> ask = AlertView::alertWithTitle("Quit Quintora?", "Your records stay on this computer.",
                                                   [](AlertView&, int index) {
                                                       if (index != 1) return;
                                                       platform::log("quit");
                                                       Director::sharedDirector().end();
                                                   },
                                                   "Stay", {"Quit"});
    ask->show();
}

void MenuLayer::GameSetting() { cs->startRun(); }

}  // namespace quintora
