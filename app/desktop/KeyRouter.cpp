#include "app/desktop/KeyRouter.hpp"

#include "app/desktop/Keyboard.hpp"
#include "app/screens/HelpScene.hpp"
#include "app/screens/MenuScene.hpp"
#include "app/screens/PracticeScene.hpp"
#include "engine/AlertView.hpp"
#include "engine/Director.hpp"

namespace quintora {

bool KeyRouter::desktopKey(platform::Key key, double now) {
    using platform::Key;
    // Typing a name owns every key; an alert owns Escape and Return, but the pause box gives way to the
    // keys that opened it.
    if (Keyboard::shared().receiver() != nullptr) return false;
    switch (key) {
        case Key::Escape:
        case Key::P: {
            AlertView* alert = Director::sharedDirector().shownAlert();
            if (alert != nullptr && !pause_.isShown()) return false;
            return pause_.toggle();
        }
        case Key::M:
            sound_.toggleMute(now);
            return true;
        case Key::Minus:
            sound_.quieter(now);
            return true;
        case Key::Plus:
            sound_.louder(now);
            return true;
        case Key::F1:
        case Key::F2: {
            Director& director = Director::sharedDirector();
            if (director.shownAlert() != nullptr ||
                dynamic_cast<MenuScene*>(director.runningScene()) == nullptr) {
                return false;
            }
            if (key == Key::F1) {
                director.replaceScene(HelpScene::node().get());
            } else {
                director.replaceScene(PracticeScene::node().get());
            }
            return true;
        }
        default:
            return false;
    }
}

void KeyRouter::key(platform::Key key, bool pressed, double now) {
    TextInputReceiver* receiver = Keyboard::shared().receiver();
    if (pressed && desktopKey(key, now)) return;
    // Any other key ends the start-up logo, and does nothing else.
    if (pressed && skipRunningMenuLogo()) return;
    // What is left goes to the scene, unless a name is being typed or an alert waits for its answer.
    if (pressed && receiver == nullptr && Director::sharedDirector().shownAlert() == nullptr &&
        deliverKeyToScene(key)) {
        return;
    }
    switch (key) {
        case platform::Key::Right:
            tilt_.setRight(pressed);
            break;
        case platform::Key::Left:
            tilt_.setLeft(pressed);
            break;
        case platform::Key::Up:
            tilt_.setUp(pressed);
            break;
        case platform::Key::Down:
            tilt_.setDown(pressed);
            break;
        case platform::Key::Return:
            // A shown alert is modal: Return and Escape answer it before anything underneath.
            if (!pressed) break;
            if (AlertView* alert = Director::sharedDirector().shownAlert()) {
                alert->dismissWithClickedButtonIndex(0);
            } else if (receiver) {
                receiver->returnKey();
            }
            break;
        case platform::Key::Escape:
            if (!pressed) break;
            if (AlertView* alert = Director::sharedDirector().shownAlert()) {
                alert->dismissWithClickedButtonIndex(alert->numberOfButtons() - 1);
            }
            break;
        case platform::Key::Backspace:
            if (pressed && receiver && !Director::sharedDirector().shownAlert()) receiver->deleteBackward();
            break;
        default:
            break;
    }
}

}  // namespace quintora
