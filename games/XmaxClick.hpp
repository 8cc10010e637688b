#pragma once
// Christmas silhouettes: the first pictures of a fixed set turn black, and the player taps every
// silhouette to bring its colours back before the time runs out.
#include <array>

#include "flow/MiniGameLayer.hpp"

namespace quintora {

class XmaxClickLayer : public MiniGameLayer {
    QUINTORA_NODE(XmaxClickLayer)
  public:
    static constexpr int kPictures = 13;

    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;

    // Where picture i can still be hit; a found one has been moved out of reach.
    [[nodiscard]] Rect pictureRect(int i) const { return R_xmax.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] int blackened() const { return xmascount; }
    [[nodiscard]] int found() const { return okcount; }

  protected:
    void GameSetting() override;
    void checksBeforeTimeOut() override;

  private:
    void Xmaspicture();

    std::array<Ref<Sprite>, kPictures> S_xmax;
    std::array<Ref<Sprite>, kPictures> S_top;
    std::array<Rect, kPictures> R_xmax{};
    int xmascount = 0;
    int okcount = 0;
};

using XmaxClickScene = MiniGameScene<XmaxClickLayer>;

}  // namespace quintora
