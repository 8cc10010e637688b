#pragma once
// The help screen: every key and controller button on one picture. Any click, Return or Escape goes
// back to the menu.
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"
#include "flow/Controls.hpp"

namespace quintora {

class HelpLayer : public Layer, public KeyReceiver {
    QUINTORA_NODE(HelpLayer)
  public:
    void init() override;
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    bool keyPressed(platform::Key key) override;

  private:
    static void back();
};

class HelpScene : public Scene {
    QUINTORA_NODE(HelpScene)
  public:
    void init() override;
};

}  // namespace quintora
