#include "engine/Scene.hpp"

#include "engine/Director.hpp"

namespace quintora {

void Scene::init() {
    const Size size = Director::sharedDirector().winSize();
    setRelativeTransformAnchor(false);
    setTransformAnchor({size.width / 2, size.height / 2});
}

}  // namespace quintora
