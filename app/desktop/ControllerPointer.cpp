#include "app/desktop/ControllerPointer.hpp"

#include "engine/ColorRect.hpp"
#include "engine/Director.hpp"

namespace quintora {

void ControllerPointer::update(bool shown, Point at) {
    Director& director = Director::sharedDirector();
    if (!shown) {
        if (cross_) director.removeOverlay(cross_.get());
        cross_ = nullptr;
        return;
    }
    if (!cross_) {
        // A white cross with a dark outline shows on every background.
        cross_ = Node::node();
        cross_->addChild(colorRect({{-11, -2.5f}, {22, 5}}, 20, 20, 40, 220).get(), 0);
        cross_->addChild(colorRect({{-2.5f, -11}, {5, 22}}, 20, 20, 40, 220).get(), 0);
        cross_->addChild(colorRect({{-10, -1}, {20, 2}}, 255, 255, 255).get(), 1);
        cross_->addChild(colorRect({{-1, -10}, {2, 20}}, 255, 255, 255).get(), 1);
        director.addOverlay(cross_.get());
    }
    cross_->setPosition(at);
}

}  // namespace quintora
