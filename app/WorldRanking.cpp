#include "app/WorldRanking.hpp"

#include "app/MenuScene.hpp"
#include "app/MiniGameLayer.hpp"
#include "engine/Director.hpp"
#include "engine/Sprite.hpp"

namespace quintora {

void WorldRankingScene::init() {
    Scene::init();
    addChild(WorldRankingLayer::node().get(), 0);
}

void WorldRankingLayer::init() {
    Layer::init();
    setIsTouchEnabled(true);
    Ref<Sprite> menu = Sprite::spriteWithFile("wmainbt.png");
    menu->setPosition({450, 290});
    addChild(menu.get(), 1);
    R_mbt = getFrame(menu.get());
}

bool WorldRankingLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = Director::sharedDirector().convertCoordinate(touches.front().locationInView());
    if (rectIntersectsRect({p, {10, 10}}, R_mbt)) MainMenuGo();
    return true;
}

void WorldRankingLayer::MainMenuGo() { Director::sharedDirector().replaceScene(MenuScene::node().get()); }

}  // namespace quintora
