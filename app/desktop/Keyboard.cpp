#include "app/desktop/Keyboard.hpp"

namespace quintora {

Keyboard& Keyboard::shared() {
    static Keyboard instance;
    return instance;
}

}  // namespace quintora
