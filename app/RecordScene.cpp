#include "app/RecordScene.hpp"

#include "app/MenuScene.hpp"
#include "app/MiniGameLayer.hpp"
#include "engine/Director.hpp"
#include "engine/Sprite.hpp"
#include "platform/Log.hpp"

namespace quintora {

void RecordScene::init() {
    Scene::init();
    addChild(RecordLayer::node().get(), 0);
}

void RecordLayer::init() {
    Layer::init();
    setIsTouchEnabled(true);
    Ref<Sprite> board = Sprite::spriteWithFile("board.png");
    board->setPosition({240, 160});
    addChild(board.get());
    Ref<Sprite> menu = Sprite::spriteWithFile("mainmenubt.png");
    menu->setPosition({300, 290});
    addChild(menu.get());
    R_mainmenubt = getFrame(menu.get());
}

bool RecordLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = Director::sharedDirector().convertCoordinate(touches.front().locationInView());
    if (rectIntersectsRect({p, {10, 10}}, R_mainmenubt)) MainMenuGo();
    return true;
}

void RecordLayer::MainMenuGo() { Director::sharedDirector().replaceScene(MenuScene::node().get()); }

}  // namespace quintora
