#include "app/replay/ReplayNavigation.hpp"

#include <utility>

#include "app/screens/RecordScene.hpp"
#include "flow/GameState.hpp"

namespace quintora {

Ref<Scene> ReplayNavigation::recordsScene() const {
    if (use_ == Use::Verify) return Scene::node();
    GameState& state = game();
    const bool endOfRun = std::exchange(state.B_Record, false);
    Ref<Scene> scene = screens_.recordsScene();
    state.B_Record = endOfRun;
    for (const Ref<Node>& child : scene->children()) {
        if (auto* layer = dynamic_cast<RecordLayer*>(child.get())) layer->showRunEnd();
    }
    return scene;
}

Ref<Scene> ReplayNavigation::practiceScene() const {
    return use_ == Use::Verify ? Scene::node() : screens_.practiceScene();
}

}  // namespace quintora
