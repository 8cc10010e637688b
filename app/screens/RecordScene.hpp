#pragma once
// The records screen: for each level the two longest runs played on this device, with their players'
// names. At the end of a run that beats one of them it asks for the player's name, stores the new table
// and offers to post the score to the world ranking.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/screens/TextField.hpp"
#include "engine/Label.hpp"
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"
#include "engine/Sprite.hpp"
#include "flow/ChangeClass.hpp"
#include "flow/Controls.hpp"

namespace quintora {

class AlertView;

namespace platform {
class UserDefaults;
}

// The store keys of a level's (1 to 3) record at a place (1 best, 2 second): "Level21" holds the time
// of the best Pro run, "Level21Name" its player.
[[nodiscard]] std::string recordKey(int level, int place);
[[nodiscard]] std::string recordNameKey(int level, int place);
// A total time as the store keeps it: seconds with one decimal, "24.9".
[[nodiscard]] std::string recordText(float seconds);
// A stored time read as the decimal number it was written as; absent or not a number reads as 0.
[[nodiscard]] double recordValue(const std::optional<std::string>& text);

class RecordLayer : public Layer, public TextFieldDelegate, public KeyReceiver {
    QUINTORA_NODE(RecordLayer)
  public:
    // A longer name would not fit the name box or a table cell, and goes to the score server as typed.
    static constexpr std::size_t kMaxNameLength = 24;
    // The store key of the name last saved on this machine, offered again at the next record.
    static constexpr const char* kLastNameKey = "LastPlayerName";

    void init() override;
    void onExit() override;

    void RecordSetting();
    void Compare();
    void specifyStartLevel();
    void showRunEnd();
    void offerPlayAgain();
    void step(float dt);
    bool textFieldShouldReturn(TextField& field) override;
    void textFieldDidEndEditing(TextField& field) override;
    void NameSave();
    void alertmenu();
    void alertView(AlertView& alert, int buttonIndex);
    void ReadData();
    void offerReplay(int level, int place, Point timePosition);
    bool handleTouchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void MainMenuGo();
    // Return plays again (when offered), Escape goes to the menu; the name field takes keys before this.
    bool keyPressed(platform::Key key) override;
    void worldgo();
    // A new run at the level of the one that just ended.
    void playAgain();

    [[nodiscard]] bool isEnteringName() const { return enteringName_; }
    [[nodiscard]] const std::string& name() const { return strName; }
    [[nodiscard]] int nameSlot() const { return nameselect; }
    [[nodiscard]] Label* nameLabel() const { return lblInsertName.get(); }
    // The table's labels in the order the keys are read (name, time; best, second; level 1 to 3).
    [[nodiscard]] const std::vector<Ref<Label>>& tableLabels() const { return tableLabels_; }
    [[nodiscard]] Rect mainMenuButtonFrame() const { return R_mainmenubt; }
    [[nodiscard]] Rect worldRankingButtonFrame() const { return R_worldbt; }
    // Only at the end of a run: the run's time, and the button that plays the level again.
    [[nodiscard]] const Label* runTimeLabel() const { return lblRunTime_.get(); }
    [[nodiscard]] Rect playAgainButtonFrame() const { return R_playagain_; }
    // The records whose runs can be watched: where their buttons are, and the replay each plays.
    struct ReplayButton {
        Rect frame;
        std::string file;
        Ref<Sprite> picture;
    };
    [[nodiscard]] const std::vector<ReplayButton>& replayButtons() const { return replayButtons_; }

  protected:
    RecordLayer() = default;

  private:
    // The working copy of a level's time or name at a place.
    std::string& workingTime(int level, int place);
    std::string& workingName(int level, int place);

    std::string strLevel11name, strLevel12name, strLevel21name, strLevel22name, strLevel31name,
        strLevel32name;
    std::string strLevel11, strLevel12, strLevel21, strLevel22, strLevel31, strLevel32;
    platform::UserDefaults* defaults = nullptr;
    Rect R_mainmenubt;
    Rect R_worldbt;
    std::unique_ptr<TextField> TestTextField;
    std::string strName;
    Ref<Label> lblInsertName;
    Ref<Sprite> S_name;
    int nameselect = 0;  // the slot that gets the entered name: 2 * (level - 1) + place
    bool enteringName_ = false;
    std::vector<Ref<Label>> tableLabels_;
    std::vector<ReplayButton> replayButtons_;
    Ref<Label> lblRunTime_;
    Ref<Label> lblHint_;
    Rect R_playagain_{};
    Ref<ChangeClass> cs;
    int caretFrames_ = 0;
};

class RecordScene : public Scene {
    QUINTORA_NODE(RecordScene)
  public:
    void init() override;
};

}  // namespace quintora
