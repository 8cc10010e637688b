#include "app/desktop/Keyboard.hpp"

#include "engine/Director.hpp"
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"

namespace quintora {

Keyboard& Keyboard::shared() {
    static Keyboard instance;
    return instance;
}

bool deliverKeyToScene(platform::Key key) {
    Scene* scene = Director::sharedDirector().runningScene();
    if (scene == nullptr) return false;
    for (const Ref<Node>& child : scene->children()) {
        auto* receiver = dynamic_cast<KeyReceiver*>(child.get());
        if (receiver == nullptr) continue;
        // Keys are the player's input as touches are: a layer that has stopped taking touches (a stage
        // once decided) takes no keys either.
        const auto* layer = dynamic_cast<const Layer*>(child.get());
        return (layer == nullptr || layer->isTouchEnabled()) && receiver->keyPressed(key);
    }
    return false;
}

}  // namespace quintora
