#pragma once
// The world ranking screen. For now it shows only its way back to the main menu; the lists of the score
// server come with the online scores.
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"

namespace quintora {

class WorldRankingLayer : public Layer {
    QUINTORA_NODE(WorldRankingLayer)
public:
    void init() override;
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void MainMenuGo();

    [[nodiscard]] Rect mainMenuButtonFrame() const { return R_mbt; }

protected:
    WorldRankingLayer() = default;

private:
    Rect R_mbt;
};

class WorldRankingScene : public Scene {
    QUINTORA_NODE(WorldRankingScene)
public:
    void init() override;
};

}  // namespace quintora
