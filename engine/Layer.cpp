#include "engine/Layer.hpp"

#include "engine/Director.hpp"

namespace quintora {

Layer::~Layer() {
    // A layer that forgot to let go of the accelerometer must not leave it calling a dead object.
    Accelerometer& shared = Accelerometer::sharedAccelerometer();
    if (shared.delegate() == this) shared.setDelegate(nullptr);
}

void Layer::init() {
    const Size size = Director::sharedDirector().winSize();
    setRelativeTransformAnchor(false);
    setTransformAnchor({size.width / 2, size.height / 2});
}

void Layer::onEnter() {
    if (isTouchEnabled_) Director::sharedDirector().addEventHandler(this);
    Node::onEnter();
    if (isAccelerometerEnabled_) Accelerometer::sharedAccelerometer().setDelegate(this);
}

void Layer::onExit() {
    if (isTouchEnabled_) Director::sharedDirector().removeEventHandler(this);
    if (isAccelerometerEnabled_) Accelerometer::sharedAccelerometer().setDelegate(nullptr);
    Node::onExit();
}

}  // namespace quintora
