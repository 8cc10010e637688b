#include "app/desktop/Keyboard.hpp"

#include "engine/Director.hpp"
#include "engine/Layer.hpp"

namespace quintora {

Keyboard& Keyboard::shared() {
    static Keyboard instance;
    return instance;
}

bool deliverKeyToScene(platform::Key key) {
    KeyReceiver* receiver = runningSceneChild<KeyReceiver>();
    if (receiver == nullptr) return false;
    // Keys are the player's input as touches are: a layer that has stopped taking touches (a stage once
    // decided) takes no keys either.
    const auto* layer = dynamic_cast<const Layer*>(receiver);
    return (layer == nullptr || layer->isTouchEnabled()) && receiver->keyPressed(key);
}

}  // namespace quintora
