#pragma once
// Arithmetic: a sum (a product on the highest level) of two random numbers is written on the board; the
// player keys in the result on ten number keys, most significant digit first, up to three digits, and
// presses OK. The right number wins, any other loses; the time running out loses. The digit keys, Return
// and Backspace press the number keys, OK and DEL.
#include <array>
#include <string>

#include "engine/Label.hpp"
#include "flow/Controls.hpp"
#include "flow/MiniGameLayer.hpp"

namespace quintora {

class MathematicsLayer : public MiniGameLayer, public KeyReceiver {
    QUINTORA_NODE(MathematicsLayer)
  public:
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    bool keyPressed(platform::Key key) override;

    void Rannumber();

    // The two labels of the question, left to right, and the label of the keyed-in number.
    [[nodiscard]] const Label* questionLabel(int i) const;
    [[nodiscard]] const Label* answerLabel() const { return tempanswerlabel.get(); }

  protected:
    void GameSetting() override;

  private:
    static constexpr int kKeys = 10;

    // Key i of the ten (the last one is 0), OK and DEL, whether tapped or typed.
    void pressNumber(int i);
    void pressOk();
    void pressDel();
    void showAnswer();

    int answer1 = 0;
    std::array<Ref<Sprite>, kKeys> S_number;
    std::array<Rect, kKeys> R_number{};
    Rect R_ok;
    Rect R_del;
    int tempanswer = 0;
    std::string tempanswerstring;
    Ref<Label> tempanswerlabel;
    std::array<Ref<Label>, 2> lblQuestion;
    int tempsort = 0;
    int tempcount1 = 0;
    int tempcount2 = 0;
    int tempcount3 = 0;
    int tempcountsum = 0;
};

using MathematicsScene = MiniGameScene<MathematicsLayer>;

}  // namespace quintora
