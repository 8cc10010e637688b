#include "app/screens/RecordScene.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "app/replay/ReplayFiles.hpp"
#include "app/screens/MenuScene.hpp"
#include "app/screens/WorldRanking.hpp"
#include "engine/AlertView.hpp"
#include "engine/Director.hpp"
#include "engine/IntervalAction.hpp"
#include "flow/GameState.hpp"
#include "flow/MiniGameLayer.hpp"
#include "platform/Log.hpp"
#include "platform/UserDefaults.hpp"

namespace quintora {
namespace {

constexpr const char* kFont = "Marker Felt";
constexpr float kFontSize = 30;
constexpr const char* kPrompt = "Enter Your Name";
constexpr const char* kHint = "Return saves";

// The band between the first level's row and the second's, where the end of a run says what happened.
constexpr float kRunEndY = 200;
constexpr Rect kPlayAgainFrame{{345, 184}, {110, 32}};
// Frames the caret stays shown, then hidden.
constexpr int kCaretHalfPeriod = 30;

bool isBlank(const std::string& name) {
    return std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isspace(c); });
}

// Wide text is drawn smaller rather than over its neighbour: a table cell holds a name of up to
// kNameCellWidth points and a time of up to kTimeCellWidth, the name box its width less a margin.
constexpr float kNameCellWidth = 84;
constexpr float kTimeCellWidth = 70;
constexpr float kNameBoxWidth = 300;

void fitWidth(Label& label, float width) {
    const float actual = label.contentSize().width;
    label.setScale(actual > width ? width / actual : 1.0f);
}

bool validLevel(int level) { return level >= 1 && level <= 3; }

}  // namespace

std::string recordKey(int level, int place) {
    return "Level" + std::to_string(level) + std::to_string(place);
}

std::string recordNameKey(int level, int place) { return recordKey(level, place) + "Name"; }

std::string recordText(float seconds) {
    // The float widened to double and cut to one decimal, as printf's "%.1f" writes it, whatever the
    // locale says a decimal point is.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(seconds),
                                      std::chars_format::fixed, 1);
    return std::string(buffer, result.ptr);
}

double recordValue(const std::optional<std::string>& text) {
    if (!text) return 0;
    std::string_view s = *text;
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    if (s.size() > 1 && s.front() == '+' && s[1] != '-') s.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return 0;
    return value;
}

void RecordScene::init() {
    Scene::init();
    addChild(RecordLayer::node().get(), 0);
}

void RecordLayer::init() {
    Layer::init();
    setIsTouchEnabled(true);
    RecordSetting();
}

void RecordLayer::onExit() {
    // Leaving while the name is typed must not leave the keyboard feeding a screen that is gone.
    if (TestTextField) TestTextField->detach();
    Layer::onExit();
}

std::string& RecordLayer::workingTime(int level, int place) {
    std::string* times[3][2] = {
        {&strLevel11, &strLevel12}, {&strLevel21, &strLevel22}, {&strLevel31, &strLevel32}};
    return *times[level - 1][place - 1];
}

std::string& RecordLayer::workingName(int level, int place) {
    std::string* names[3][2] = {{&strLevel11name, &strLevel12name},
                                {&strLevel21name, &strLevel22name},
                                {&strLevel31name, &strLevel32name}};
    return *names[level - 1][place - 1];
}

void RecordLayer::RecordSetting() {
    Ref<Sprite> board = Sprite::spriteWithFile("board.png");
    board->setPosition({240, 160});
    addChild(board.get());
    Ref<Sprite> menu = Sprite::spriteWithFile("mainmenubt.png");
    menu->setPosition({300, 290});
    addChild(menu.get());
    R_mainmenubt = getFrame(menu.get());
    Ref<Sprite> world = Sprite::spriteWithFile("worldrankingbt.png");
    world->setPosition({400, 290});
    addChild(world.get());
    R_worldbt = getFrame(world.get());

    game().B_wordsumit = false;
    defaults = &platform::UserDefaults::standardUserDefaults();
    if (game().B_Record) {
        showRunEnd();
        Compare();
        if (!enteringName_) offerPlayAgain();
    } else {
        ReadData();
    }
}

void RecordLayer::Compare() {
    const int level = game().SelectLevel;
    if (!validLevel(level)) {  // no run of a known level: nothing to compare with
        ReadData();
        return;
    }
    const std::optional<std::string> first = defaults->stringForKey(recordKey(level, 1));
    const std::optional<std::string> second = defaults->stringForKey(recordKey(level, 2));
    // Both sides at the precision the store keeps: a run whose time would be written as the stored text
    // is an equal run and does not displace it, however the float sum of its stages came out.
    const std::string runText = recordText(game().Totaltime);
    const double run = recordValue(runText);

    if (recordValue(second) < run) {
        if (recordValue(first) < run) {
            // A new best: the old best moves down, its name with it. An absent old best moves down as
            // absent, which leaves the second place as it is.
            const std::optional<std::string> firstName = defaults->stringForKey(recordNameKey(level, 1));
            workingTime(level, 1) = runText;
            defaults->setObject(workingTime(level, 1), recordKey(level, 1));
            if (first) {
                workingTime(level, 2) = *first;
                workingName(level, 2) = firstName.value_or("");
                defaults->setObject(workingTime(level, 2), recordKey(level, 2));
                defaults->setObject(workingName(level, 2), recordNameKey(level, 2));
            }
            // Until the name is entered the new time carries an empty name, not its predecessor's: a game
            // closed during the entry keeps every time with its own player.
            defaults->setObject("", recordNameKey(level, 1));
            keepLastRunAsRecord(level, 1, first.has_value());
            specifyStartLevel();
            nameselect = 2 * level - 1;
        } else {
            workingTime(level, 2) = runText;
            defaults->setObject(workingTime(level, 2), recordKey(level, 2));
            defaults->setObject("", recordNameKey(level, 2));
            keepLastRunAsRecord(level, 2, false);
            specifyStartLevel();
            nameselect = 2 * level;
        }
    } else {
        ReadData();
    }
    defaults->synchronize();
}

void RecordLayer::showRunEnd() {
    // Whether or not the run took a place, the player learns what it scored, as the table writes times.
    lblRunTime_ = Label::labelWithString("This run: " + recordText(game().Totaltime), kFont, 24);
    lblRunTime_->setRGB(255, 222, 80);
    lblRunTime_->setPosition({88, kRunEndY});
    addChild(lblRunTime_.get(), 1);
    platform::log(lblRunTime_->string());
}

void RecordLayer::offerPlayAgain() {
    Ref<Sprite> button = Sprite::spriteWithFile("playagainbt.png");
    button->setPosition(kPlayAgainFrame.centre());
    addChild(button.get(), 1);
    R_playagain_ = getFrame(button.get());
}

void RecordLayer::specifyStartLevel() {
    TestTextField = std::make_unique<TextField>(this, kMaxNameLength);
    TestTextField->setText(defaults->stringForKey(kLastNameKey).value_or(""));
    TestTextField->becomeFirstResponder();
    enteringName_ = true;

    S_name = Sprite::spriteWithFile("namefield.png");
    S_name->setPosition({240, 260});
    addChild(S_name.get());
    lblInsertName = Label::labelWithString(strName, kFont, kFontSize);
    addChild(lblInsertName.get(), 1);
    lblInsertName->setRGB(0, 0, 0);
    lblInsertName->setPosition({240, 260});
    lblHint_ = Label::labelWithString(kHint, kFont, 20);
    lblHint_->setRGB(255, 255, 255);
    lblHint_->setPosition({265, kRunEndY});
    addChild(lblHint_.get(), 1);
    schedule(QSEL(RecordLayer, step));
    step(0);  // the prompt from the first frame on, not an empty box until the timer first fires
}

void RecordLayer::step(float) {
    strName = TestTextField->text();
    caretFrames_ = (caretFrames_ + 1) % (2 * kCaretHalfPeriod);
    const std::string caret = caretFrames_ < kCaretHalfPeriod ? "|" : " ";
    const std::string shown = strName.empty() ? std::string(kPrompt) : strName + caret;
    // Rendering text is not free: the label is drawn again only when what it says changes.
    if (shown != lblInsertName->string()) {
        lblInsertName->setString(shown);
        fitWidth(*lblInsertName, kNameBoxWidth);
    }
}

bool RecordLayer::textFieldShouldReturn(TextField& field) {
    // A blank name could not be posted to the world ranking: Return only points at the hint again.
    if (isBlank(field.text())) {
        lblHint_->stopAllActions();
        lblHint_->runAction(Sequence::actions({TintTo::actionWithDuration(0.15f, 255, 140, 40),
                                               TintTo::actionWithDuration(0.45f, 255, 255, 255)}));
        platform::log("name refused: blank");
        return false;
    }
    field.resignFirstResponder();
    unschedule(QSEL(RecordLayer, step));
    removeChild(S_name.get(), true);
    removeChild(lblInsertName.get(), true);
    removeChild(lblHint_.get(), true);
    S_name = nullptr;
    lblInsertName = nullptr;
    lblHint_ = nullptr;
    enteringName_ = false;
    // The buttons wait for the name; the new one comes with them, where the hint was.
    offerPlayAgain();
    NameSave();
    return true;
}

void RecordLayer::textFieldDidEndEditing(TextField& field) {
    if (&field != TestTextField.get()) return;
    field.detach();
    strName = field.text();
    platform::log(strName);
}

void RecordLayer::NameSave() {
    const int level = (nameselect + 1) / 2;
    if (validLevel(level)) {
        const int place = nameselect % 2 == 1 ? 1 : 2;
        // The old best's name moved down with its time when the record was found.
        workingName(level, place) = strName;
        defaults->setObject(strName, recordNameKey(level, place));
    }
    game().NamePost = strName;
    defaults->setObject(strName, kLastNameKey);
    defaults->synchronize();
    alertmenu();
    ReadData();
}

void RecordLayer::alertmenu() {
    Ref<RecordLayer> self(this);
    Ref<AlertView> alert = AlertView::alertWithTitle(
        "New Record", "World Ranking Submit?",
        [self](AlertView& shown, int buttonIndex) { self->alertView(shown, buttonIndex); }, "Yes", {"No"});
    alert->show();
}

void RecordLayer::alertView(AlertView&, int buttonIndex) {
    if (buttonIndex == 0) {
        platform::log("ok");
        game().B_wordsumit = true;
        Director::sharedDirector().replaceScene(WorldRankingScene::node().get());
    } else {
        platform::log("cancel");
    }
}

void RecordLayer::ReadData() {
    struct Cell {
        int level, place;
        bool isName;
        Point position;
    };
    static constexpr Cell cells[] = {
        {1, 1, true, {90, 240}},   {1, 1, false, {170, 240}}, {1, 2, true, {290, 240}},
        {1, 2, false, {370, 240}}, {2, 1, true, {90, 130}},   {2, 1, false, {170, 130}},
        {2, 2, true, {290, 130}},  {2, 2, false, {370, 130}}, {3, 1, true, {90, 30}},
        {3, 1, false, {170, 30}},  {3, 2, true, {290, 30}},   {3, 2, false, {370, 30}},
    };
    for (const Ref<Label>& old : tableLabels_) removeChild(old.get(), true);
    tableLabels_.clear();
    for (const ReplayButton& old : replayButtons_) removeChild(old.picture.get(), true);
    replayButtons_.clear();
    for (const Cell& cell : cells) {
        const std::string key =
            cell.isName ? recordNameKey(cell.level, cell.place) : recordKey(cell.level, cell.place);
        // A store written by hand or by another program may hold anything: the cell shows at most a
        // name's length of it on one line, which keeps the label's texture within what GL can hold.
        const std::string text = printableText(defaults->stringForKey(key).value_or(""), kMaxNameLength);
        Ref<Label> label = Label::labelWithString(text, kFont, kFontSize);
        label->setRGB(255, 255, 255);
        label->setPosition(cell.position);
        fitWidth(*label, cell.isName ? kNameCellWidth : kTimeCellWidth);
        addChild(label.get(), 1);
        tableLabels_.push_back(label);
        if (!cell.isName && !text.empty()) offerReplay(cell.level, cell.place, cell.position);
    }
}

void RecordLayer::offerReplay(int level, int place, Point timePosition) {
    const std::string file = recordReplayFile(level, place);
    if (!loadDataFile(file)) return;
    // Beside the record's time: a touch plays the run back.
    Ref<Sprite> button = Sprite::spriteWithFile("watchbt.png");
    button->setPosition({timePosition.x + kTimeCellWidth / 2 + 12, timePosition.y});
    addChild(button.get(), 1);
    replayButtons_.push_back({getFrame(button.get()), file, button});
}

bool RecordLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    // The name comes first: the buttons wait for the return key.
    if (enteringName_) return true;
    const Point p = Director::sharedDirector().convertCoordinate(touches.front().locationInView());
    const Rect touch{p, {5, 5}};
    if (rectIntersectsRect(touch, R_mainmenubt)) MainMenuGo();
    if (rectIntersectsRect(touch, R_worldbt)) worldgo();
    if (rectIntersectsRect(touch, R_playagain_)) playAgain();
    for (const ReplayButton& button : replayButtons_) {
        if (!rectIntersectsRect(touch, button.frame)) continue;
        if (auto replay = loadDataFile(button.file)) requestWatching(std::move(*replay));
        break;
    }
    return true;
}

void RecordLayer::MainMenuGo() { Director::sharedDirector().replaceScene(MenuScene::node().get()); }

bool RecordLayer::keyPressed(platform::Key key) {
    if (enteringName_) return false;
    if (key == platform::Key::Escape) {
        MainMenuGo();
    } else if (key == platform::Key::Return && R_playagain_.size.width > 0) {
        playAgain();
    } else {
        return false;
    }
    return true;
}

void RecordLayer::playAgain() {
    cs = ChangeClass::make();
    cs->startRun();
}

void RecordLayer::worldgo() { Director::sharedDirector().replaceScene(WorldRankingScene::node().get()); }

}  // namespace quintora
