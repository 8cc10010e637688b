// Until the menu is in, the game opens on a small showcase of the engine: the background, the logo fading
// in, a ball that goes where the player touches, a label and the lives row.
#include "app/StartScene.hpp"

#include <cstdio>

#include "engine/Director.hpp"
#include "engine/IntervalAction.hpp"
#include "engine/Label.hpp"
#include "engine/Layer.hpp"
#include "engine/Sprite.hpp"
#include "platform/Log.hpp"

namespace quintora {
namespace {

class ShowcaseLayer : public Layer {
    QUINTORA_NODE(ShowcaseLayer)
public:
    void init() override {
        Layer::init();
        setIsTouchEnabled(true);
        Ref<Sprite> background = Sprite::spriteWithFile("mainbg.png");
        background->setPosition({240, 160});
        addChild(background.get(), 0);
        Ref<Sprite> logo = Sprite::spriteWithFile("logo.png");
        logo->setPosition({240, 200});
        logo->setOpacity(0);
        addChild(logo.get(), 1);
        logo->runAction(FadeIn::actionWithDuration(1.0f));
        for (int i = 0; i < 5; ++i) {
            Ref<Sprite> life = Sprite::spriteWithFile("life.png");
            life->setPosition({380.0f + 20.0f * static_cast<float>(i), 300});
            addChild(life.get(), 2);
        }
        ball_ = Sprite::spriteWithFile("golfball.png");
        ball_->setPosition({240, 80});
        addChild(ball_.get(), 3);
        label_ = Label::labelWithString("Touch anywhere", "Marker Felt", 24);
        label_->setPosition({240, 40});
        label_->setRGB(255, 255, 255);
        addChild(label_.get(), 3);
    }

    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent&) override {
        const Point p = Director::sharedDirector().convertCoordinate(touches.front().locationInView());
        ball_->stopAllActions();
        ball_->runAction(MoveTo::actionWithDuration(0.3f, p));
        char text[64];
        std::snprintf(text, sizeof text, "Touched at %.0f, %.0f", static_cast<double>(p.x), static_cast<double>(p.y));
        label_->setString(text);
        platform::log(text);
        return true;
    }

private:
    Ref<Sprite> ball_;
    Ref<Label> label_;
};

}  // namespace

Ref<Scene> startScene() {
    Ref<Scene> scene = Scene::node();
    scene->addChild(ShowcaseLayer::node().get(), 1);
    return scene;
}

}  // namespace quintora
