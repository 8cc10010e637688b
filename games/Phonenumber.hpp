#pragma once
// Phone number: a number of six to eight digits is shown above a keypad and is dialled key by key. Each
// right key ticks its digit off; the first wrong key shows the lose picture; the whole number wins. The
// digit keys press the keypad's keys.
#include <array>

#include "flow/Controls.hpp"
#include "flow/MiniGameLayer.hpp"

namespace quintora {

class PhonenumberLayer : public MiniGameLayer, public KeyReceiver {
    QUINTORA_NODE(PhonenumberLayer)
  public:
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    bool keyPressed(platform::Key key) override;

    // For tests: what is on screen, read as a player reads it.
    [[nodiscard]] int digitAt(int position) const { return A_number.at(static_cast<std::size_t>(position)); }
    [[nodiscard]] int length() const { return numbercount; }
    [[nodiscard]] int dialled() const { return okcount; }
    [[nodiscard]] Rect keyRect(int digit) const { return R_number.at(static_cast<std::size_t>(digit)); }
    [[nodiscard]] Point tickPosition(int position) const {
        return S_ok.at(static_cast<std::size_t>(position))->position();
    }

  protected:
    void GameSetting() override;
    void checksAfterTimeOut() override;
    [[nodiscard]] bool logsTime() const override { return false; }

  private:
    // The keypad's key for digit d, whether tapped or typed.
    void dial(int d);

    std::array<Ref<Sprite>, 10> S_number;
    std::array<Rect, 10> R_number{};
    std::array<Ref<Sprite>, 10> S_ok;
    int numbercount = 0;
    int okcount = 0;
    int sort = 0;
    std::array<int, 9> A_number{};
};

using PhonenumberScene = MiniGameScene<PhonenumberLayer>;

}  // namespace quintora
