#include "app/ScreenNavigation.hpp"

#include "app/screens/PracticeScene.hpp"
#include "app/screens/RecordScene.hpp"
#include "flow/Navigation.hpp"
#include "games/StageTable.hpp"

namespace quintora {
namespace {

class ScreenNavigation : public Navigation {
  public:
    const StageEntry& stage(int number) const override {
        return stageTable().at(static_cast<std::size_t>(number - 1));
    }
    Ref<Scene> recordsScene() const override { return RecordScene::node(); }
    Ref<Scene> practiceScene() const override { return PracticeScene::node(); }
};

}  // namespace

void useScreenNavigation() {
    static const ScreenNavigation screens;
    setNavigation(&screens);
}

}  // namespace quintora
