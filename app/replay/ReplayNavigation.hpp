#pragma once
// Where a replayed run ends. Verified, it ends on nothing: nothing is shown, read or stored. Watched, it
// ends on the records screen as opened from the menu (nothing compared, asked or stored) with the run's
// time line, as it ended when it was played.
#include "flow/Navigation.hpp"

namespace quintora {

class ReplayNavigation : public Navigation {
  public:
    enum class Use { Verify, Watch };
    ReplayNavigation(const Navigation& screens, Use use) : screens_(screens), use_(use) {}

    [[nodiscard]] const StageEntry& stage(int number) const override { return screens_.stage(number); }
    [[nodiscard]] Ref<Scene> recordsScene() const override;
    [[nodiscard]] Ref<Scene> practiceScene() const override;

  private:
    const Navigation& screens_;
    Use use_;
};

}  // namespace quintora
