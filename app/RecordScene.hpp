#pragma once
// The records screen: the board of the best runs and the way back to the menu.
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"

namespace quintora {

class RecordLayer : public Layer {
    QUINTORA_NODE(RecordLayer)
public:
    void init() override;
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void MainMenuGo();

private:
    Rect R_mainmenubt;
};

class RecordScene : public Scene {
    QUINTORA_NODE(RecordScene)
public:
    void init() override;
};

}  // namespace quintora
