#pragma once
// The world ranking screen: the score server's best runs of one level at a time, picked with three tabs and
// scrolled with a finger. Opened after a record with "Yes", it first posts the run's score.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Label.hpp"
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"
#include "engine/Sprite.hpp"
#include "flow/Controls.hpp"
#include "online/JSONValue.hpp"
#include "online/ScoreServerRequest.hpp"

namespace quintora {

class WorldRankingLayer : public Layer, public KeyReceiver {
    QUINTORA_NODE(WorldRankingLayer)
  public:
    // The rows asked for, and so the most ever shown.
    static constexpr int kRequestLimit = 15;

    void init() override;
    void onExit() override;

    void postScore();
    void LabelSetting();
    void initSetting();
    void requestScore();
    void Reload();
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    bool handleTouchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    bool handleScroll(float lines) override;
    void MainMenuGo();
    // Escape goes back to the menu.
    bool keyPressed(platform::Key key) override;

    [[nodiscard]] int shownCategory() const { return category; }
    [[nodiscard]] Node* rows() const { return board.get(); }
    [[nodiscard]] int scrollLimit() const { return maxy; }
    // "Loading...", "No scores yet" or nothing, over the list's panel.
    [[nodiscard]] const std::string& statusText() const;
    // The line below the list with the player's own place, when it is shown.
    [[nodiscard]] const Label* ownRankLine() const;
    [[nodiscard]] Rect amateurTabFrame() const { return R_abt; }
    [[nodiscard]] Rect proTabFrame() const { return R_pbt; }
    [[nodiscard]] Rect legendTabFrame() const { return R_lbt; }
    [[nodiscard]] Rect mainMenuButtonFrame() const { return R_mbt; }
    // The "on" images of the Amateur, Pro and Legend tabs.
    [[nodiscard]] std::vector<Sprite*> selectedTabImages() const {
        return {S_abton.get(), S_pbton.get(), S_lbton.get()};
    }

  protected:
    WorldRankingLayer() = default;

  private:
    class Callbacks;
    friend class Callbacks;

    void showTab(int tab);
    std::shared_ptr<Callbacks> callbacks();
    void scorePostOk();
    void scorePostFail(int postStatus);
    void postAnswered();
    void scoreRequestOk(ScoreServerRequest& client);
    void scoreRequestFail(ScoreServerRequest& client);
    void WaitForServer(float dt);
    void requestOwnRank();
    void ownRankAnswered(const ScoreServerRequest& client);
    // The own place shown for the tab on screen: the line below the list, and its row picked out.
    void showOwnRank();
    void showStatus(const char* text);
    // Moves the rows within their limits and shows only those inside the list's panel.
    void scrollTo(float y);

    int category = 0;
    JSONArray ScoreList;
    Ref<Node> board;
    Rect R_abt, R_pbt, R_lbt, R_mbt;
    Ref<Sprite> S_abton, S_pbton, S_lbton;
    int maxy = 10;
    int starty = 0;
    int tempy = 0;
    bool postPending_ = false;       // the run's score is on its way and the first list waits for it
    bool waitingForServer_ = false;  // the bundled score server is starting: no exchange yet
    std::shared_ptr<ScoreServerRequest> latestRequest_;
    // Hears the score server's answers for as long as the screen is up; the clients hold it weakly, so an
    // answer that comes after the screen has gone finds no one.
    std::shared_ptr<Callbacks> callbacks_;
    Ref<Label> status_;
    Ref<Label> ownRankLine_;
    std::string ownRankCategory_;  // the level the run was posted for
    std::optional<ScoreServerRequest::OwnRank> ownRank_;
};

class WorldRankingScene : public Scene {
    QUINTORA_NODE(WorldRankingScene)
  public:
    void init() override;
};

// The category text of a level (1 to 3) or tab (0 to 2) as the score server knows it.
[[nodiscard]] const char* categoryOfTab(int tab);

}  // namespace quintora
