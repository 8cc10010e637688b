#pragma once
// The main menu: the logo fades in and out, then the background and the four buttons: three levels and
// the records; a fifth, Practice, sits in the corner none of them reaches.
#include "flow/ChangeClass.hpp"
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
    void PracticeL();
    void GameSetting();
    // Ends the logo at once and puts the buttons up; false when they are up already.
    bool skipLogo();

    // Where the Practice button lies once the buttons are up.
    static constexpr Rect kPracticeFrame{{386, 13}, {88, 34}};

private:
    Ref<ChangeClass> cs;
    Ref<Node> logo_;
    bool buttonsUp_ = false;
    Rect R_abt, R_pbt, R_lbt, R_rbt, R_practice;
};

class MenuScene : public Scene {
    QUINTORA_NODE(MenuScene)
public:
    void init() override;
};

// A key pressed while the running scene's menu still shows its logo skips it; false when there was none.
bool skipRunningMenuLogo();

}  // namespace quintora
