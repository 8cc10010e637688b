#pragma once
// The main menu: the logo fades in and out, then the background and the four buttons: three levels and
// the records.
#include "app/ChangeClass.hpp"
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"

namespace quintora {

class MenuLayer : public Layer {
    QUINTORA_NODE(MenuLayer)
public:
    void init() override;
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;

    void Logo();
    void MainBG(Node* logo);
    void StarterL();
    void NormalL();
    void HardL();
    void RecordL();
    void RecordGo();
    void GameSetting();

private:
    Ref<ChangeClass> cs;
    Rect R_abt, R_pbt, R_lbt, R_rbt;
};

class MenuScene : public Scene {
    QUINTORA_NODE(MenuScene)
public:
    void init() override;
};

}  // namespace quintora
