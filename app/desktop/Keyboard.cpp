#include "app/desktop/Keyboard.hpp"

#include "engine/Director.hpp"
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
        if (auto* receiver = dynamic_cast<KeyReceiver*>(child.get())) return receiver->keyPressed(key);
    }
    return false;
}

}  // namespace quintora
