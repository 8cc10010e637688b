#pragma once
// The main menu: the logo fades in and out, then the background and the four buttons: three levels and
// the records; a fifth, Practice, sits in the corner none of them reaches, and the help and quit buttons
// at the top. The arrow keys move a focus ring between them (starting on Amateur) and Return presses the
// button in it; Escape asks whether to quit.
#include "app/screens/ButtonFocus.hpp"
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"
#include "flow/ChangeClass.hpp"
#include "flow/Controls.hpp"

namespace quintora {

class MenuLayer : public Layer, public KeyReceiver {
    QUINTORA_NODE(MenuLayer)
  public:
    void init() override;
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    bool keyPressed(platform::Key key) override;

    void Logo();
    void MainBG(Node* logo);
    void StarterL();
    void NormalL();
    void HardL();
    void RecordL();
    void RecordGo();
    void PracticeL();
    void HelpL();
    // Asks whether to leave the game; "Quit" ends it.
    void QuitL();
    void GameSetting();
    // Ends the logo at once and puts the buttons up; false when they are up already.
    bool skipLogo();

    // Where the buttons the phone did not have lie once the buttons are up.
    static constexpr Rect kPracticeFrame{{386, 13}, {88, 34}};
    static constexpr Rect kHelpFrame{{441, 281}, {34, 34}};
    static constexpr Rect kQuitFrame{{374, 283}, {60, 30}};

    // The buttons in the order the focus ring knows them; the ring is empty while the logo is up.
    enum Button { Amateur, Pro, Legend, Records, Practice, Help, Quit };
    [[nodiscard]] ButtonFocus& focusRing() { return focus_; }

  private:
    void press(int button);

    Ref<ChangeClass> cs;
    Ref<Node> logo_;
    bool buttonsUp_ = false;
    Rect R_abt, R_pbt, R_lbt, R_rbt, R_practice;
    ButtonFocus focus_;
};

class MenuScene : public Scene {
    QUINTORA_NODE(MenuScene)
  public:
    void init() override;
};

// A key pressed while the running scene's menu still shows its logo skips it; false when there was none.
bool skipRunningMenuLogo();

}  // namespace quintora
