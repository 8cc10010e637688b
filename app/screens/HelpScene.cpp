#include "app/screens/HelpScene.hpp"

#include "app/screens/MenuScene.hpp"
#include "engine/Director.hpp"
#include "engine/Sprite.hpp"
#include "platform/Log.hpp"

namespace quintora {

void HelpScene::init() {
    Scene::init();
    addChild(HelpLayer::node().get(), 0);
}

void HelpLayer::init() {
    Layer::init();
    setIsTouchEnabled(true);
    Ref<Sprite> page = Sprite::spriteWithFile("helpbg.png");
    page->setPosition({240, 160});
    addChild(page.get(), 0);
    platform::log("help shown");
}

bool HelpLayer::handleTouchesBegan(const TouchSet&, const TouchEvent&) {
    back();
    return true;
}

bool HelpLayer::keyPressed(platform::Key key) {
    if (key != platform::Key::Return && key != platform::Key::Escape) return false;
    back();
    return true;
}

void HelpLayer::back() { Director::sharedDirector().replaceScene(MenuScene::node().get()); }

}  // namespace quintora
