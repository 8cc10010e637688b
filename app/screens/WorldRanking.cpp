#include "app/screens/WorldRanking.hpp"

#include <algorithm>

#include "app/ScoreServerHost.hpp"
#include "app/replay/ReplayFiles.hpp"
#include "app/screens/MenuScene.hpp"
#include "app/screens/TextField.hpp"
#include "engine/AlertView.hpp"
#include "engine/Director.hpp"
#include "engine/Label.hpp"
#include "flow/GameState.hpp"
#include "flow/MiniGameLayer.hpp"
#include "online/GameKey.hpp"
#include "online/ScoreServerPost.hpp"
#include "online/ScoreServerRequest.hpp"
#include "platform/Log.hpp"

namespace quintora {
namespace {

constexpr const char* kFont = "Marker Felt";
constexpr float kFontSize = 20;
constexpr int kRowTop = 250;
constexpr int kRowStep = 30;
// The list's panel, between the tabs and the own-place line: rows whose centre lies outside are not drawn.
constexpr float kPanelTop = 255, kPanelBottom = 50;
constexpr float kOwnRankY = 20;
// A row's cells: rank, name, time and country, each centred on its x and shrunk to its width when wider.
constexpr float kRankX = 50, kNameX = 200, kScoreX = 350, kCountryX = 400;
// Between the rank and the name: the mark of a run the server verified by playing it again.
constexpr float kVerifiedX = 84;
constexpr float kNameWidth = 200, kScoreWidth = 60, kCountryWidth = 40;
// The most characters of a name or country the screen shows; the server's texts may be any length.
constexpr std::size_t kMaxCellCharacters = 24;

// Where each tab's "on" image stands when that tab (row) is selected: Amateur, Pro, Legend.
constexpr Point kSelectedTabPositions[3][3] = {
    {{90, 290}, {-240, 290}, {-390, 290}},
    {{-90, 290}, {220, 290}, {-390, 290}},
    {{-90, 290}, {-240, 290}, {350, 290}},
};

void showAlert(const char* title, const char* message) {
    AlertView::alertWithTitle(title, message, nullptr, "OK")->show();
}

// A score's field as the row shows it: text as it is (one line, bounded), a number as its text, anything
// else as nothing.
std::string cellText(const JSONDictionary& score, std::string_view key) {
    const JSONValue* value = findValue(score, key);
    if (value == nullptr) return {};
    if (const std::string* text = value->asString()) return printableText(*text, kMaxCellCharacters);
    if (const JSONNumber* number = value->asNumber()) return stringValue(number->value);
    return {};
}

// A row the server re-played from its recorded run before ranking it; rows of servers that do not verify,
// or that say nothing of it, are not marked.
bool isVerified(const JSONDictionary& score) {
    const JSONValue* value = findValue(score, "verified");
    const JSONNumber* flag = value != nullptr ? value->asNumber() : nullptr;
    return flag != nullptr && flag->isBoolean && flag->boolValue();
}

void fitWidth(Label& label, float width) {
    const float actual = label.contentSize().width;
    label.setScale(actual > width ? width / actual : 1.0f);
}

}  // namespace

const char* categoryOfTab(int tab) {
    switch (tab) {
        case 0:
            return "Amateur";
        case 1:
            return "Pro";
        default:
            return "Legend";
    }
}

class WorldRankingLayer::Callbacks : public ScoreServerPostDelegate, public ScoreServerRequestDelegate {
  public:
    explicit Callbacks(WorldRankingLayer& layer) : layer_(layer) {}
    void scorePostOk(ScoreServerPost&) override { layer_.scorePostOk(); }
    void scorePostFail(ScoreServerPost& client) override { layer_.scorePostFail(client.postStatus()); }
    void scoreRequestOk(ScoreServerRequest& client) override {
        if (client.isRankRequest()) return layer_.ownRankAnswered(client);
        layer_.scoreRequestOk(client);
    }
    // Without its own place the screen is still whole: only a failed list is worth an alert.
    void scoreRequestFail(ScoreServerRequest& client) override {
        if (!client.isRankRequest()) layer_.scoreRequestFail(client);
    }

  private:
    WorldRankingLayer& layer_;
};

void WorldRankingScene::init() {
    Scene::init();
    addChild(WorldRankingLayer::node().get(), 0);
}

void WorldRankingLayer::init() {
    Layer::init();
    setIsTouchEnabled(true);
    ScoreServerHost& host = ScoreServerHost::shared();
    host.ensureStarted();
    Ref<Sprite> background = Sprite::spriteWithFile("worldrankingbg.png");
    background->setPosition({240, 160});
    addChild(background.get(), 0);
    // A list is on its way from the start, behind the run's own score when there is one.
    status_ = Label::labelWithString("Loading...", kFont, kFontSize);
    status_->setPosition({240, 150});
    addChild(status_.get(), 1);
    ownRankLine_ = Label::labelWithString("", kFont, kFontSize);
    ownRankLine_->setPosition({240, kOwnRankY});
    ownRankLine_->setRGB(255, 220, 0);
    ownRankLine_->setVisible(false);
    addChild(ownRankLine_.get(), 1);
    // The bundled server may still be starting: the post and the list wait for it, frame by frame.
    waitingForServer_ = host.isStarting();
    if (game().B_wordsumit && !waitingForServer_) postScore();
    LabelSetting();
    initSetting();
    if (waitingForServer_) schedule(QSEL(WorldRankingLayer, WaitForServer));
}

void WorldRankingLayer::WaitForServer(float) {
    if (ScoreServerHost::shared().isStarting()) return;
    unschedule(QSEL(WorldRankingLayer, WaitForServer));
    waitingForServer_ = false;
    if (game().B_wordsumit) postScore();
    if (!postPending_) requestScore();
}

void WorldRankingLayer::onExit() {
    callbacks_.reset();
    Layer::onExit();
}

std::shared_ptr<WorldRankingLayer::Callbacks> WorldRankingLayer::callbacks() {
    if (!callbacks_) callbacks_ = std::make_shared<Callbacks>(*this);
    return callbacks_;
}

void WorldRankingLayer::LabelSetting() {
    auto place = [this](const char* image, int z, Point position) {
        Ref<Sprite> sprite = Sprite::spriteWithFile(image);
        sprite->setPosition(position);
        addChild(sprite.get(), z);
        return sprite;
    };
    S_abton = place("abton.png", 2, {90, 290});
    R_abt = getFrame(place("abtoff.png", 1, {90, 290}).get());
    S_pbton = place("pbton.png", 2, {-220, 290});
    R_pbt = getFrame(place("pbtoff.png", 1, {220, 290}).get());
    S_lbton = place("lbton.png", 2, {-370, 290});
    R_lbt = getFrame(place("lbtoff.png", 1, {350, 290}).get());
    R_mbt = getFrame(place("wmainbt.png", 1, {450, 290}).get());
}

void WorldRankingLayer::initSetting() {
    category = 0;
    // A list asked for while the run's own score is still on its way could come back without it: the
    // first list waits for the post's answer.
    if (!postPending_) requestScore();
}

void WorldRankingLayer::postScore() {
    platform::log("Posting Score");
    const GameState& state = game();
    ScoreDictionary score{
        {"qs_score", state.Totaltime},
        {"qs_playername", state.NamePost},
        {"qs_category", std::string(categoryOfTab(state.SelectLevel - 1))},
    };
    // The run goes with its score, signed with it, so that the server can re-play it before it trusts it.
    if (const auto replay = loadDataFile(kLastRunFile)) score["qs_replay"] = base64Text(*replay);
    platform::logf("Sending data: {qs_category = %s; qs_playername = %s; qs_score = %s;}",
                   categoryOfTab(state.SelectLevel - 1), state.NamePost.c_str(),
                   stringValue(state.Totaltime).c_str());
    auto client =
        ScoreServerPost::serverWithGameName(std::string(kGameName), std::string(kGameKey), callbacks());
    postPending_ = client->updateScore(score);
}

void WorldRankingLayer::requestScore() {
    showStatus("Loading...");
    if (waitingForServer_) return;  // asked for the shown tab once the server is there
    platform::log("Requesting scores...");
    latestRequest_ = ScoreServerRequest::serverWithGameName(std::string(kGameName), callbacks());
    latestRequest_->requestScores(4, kRequestLimit, 0, 0, categoryOfTab(category));
}

void WorldRankingLayer::scorePostOk() {
    platform::log("score post OK");
    requestOwnRank();
    postAnswered();
}

void WorldRankingLayer::scorePostFail(int postStatus) {
    const char* message =
        postStatus == ScoreServerPost::kRefused
            ? "Cannot post the score to the server. Retry"
            : "Internet connection not available. Enable wi-fi / 3g to post your scores to the server";
    showAlert("Score Post Failed", message);
    postAnswered();
}

void WorldRankingLayer::postAnswered() {
    if (!postPending_) return;
    postPending_ = false;
    requestScore();
}

void WorldRankingLayer::scoreRequestOk(ScoreServerRequest& client) {
    platform::log("score request OK");
    // Only the answer to the latest request fills the list: an older one may be for a tab left since, or
    // may have been asked before the run's own score was stored.
    if (&client != latestRequest_.get()) return;
    const std::shared_ptr<const JSONArray> scores = client.parseScores();
    ScoreList.clear();
    if (scores) {
        for (const JSONValue& score : *scores) {
            if (score.isDictionary() && ScoreList.size() < kRequestLimit) ScoreList.push_back(score);
        }
    }
    Reload();
}

void WorldRankingLayer::scoreRequestFail(ScoreServerRequest& client) {
    platform::log("score request fail");
    if (&client != latestRequest_.get()) return;
    showStatus("");
    showAlert("Score Request Failed", "Internet connection not available, cannot view world scores");
}

void WorldRankingLayer::Reload() {
    platform::log("Reload");
    // Each answer replaces the rows of the one before rather than drawing over them.
    if (board) removeChild(board.get(), true);
    board = Node::node();
    const int n = static_cast<int>(ScoreList.size());
    int verified = 0;
    for (int i = 0; i < n; ++i) {
        const JSONDictionary& score = *ScoreList[i].asDictionary();
        const float y = static_cast<float>(kRowTop - kRowStep * i);
        const struct {
            std::string text;
            float x, width;
        } cells[] = {
            {std::to_string(i + 1), kRankX, 0},
            {cellText(score, "qs_playername"), kNameX, kNameWidth},
            {cellText(score, "qs_score"), kScoreX, kScoreWidth},
            {cellText(score, "qs_country"), kCountryX, kCountryWidth},
        };
        for (const auto& cell : cells) {
            Ref<Label> label = Label::labelWithString(cell.text, kFont, kFontSize);
            label->setRGB(255, 255, 255);
            label->setPosition({cell.x, y});
            if (cell.width > 0) fitWidth(*label, cell.width);
            board->addChild(label.get());
        }
        if (isVerified(score)) {
            Ref<Sprite> mark = Sprite::spriteWithFile("verifiedmark.png");
            mark->setPosition({kVerifiedX, y});
            board->addChild(mark.get());
            ++verified;
        }
    }
    if (verified > 0) platform::logf("verified runs marked: %d of %d", verified, n);
    // The list stops where its last row reaches the bottom of the panel, and a short one does not move.
    maxy = std::max(0, kRowStep * (n - 1) - static_cast<int>(kRowTop - kPanelBottom));
    if (n > 9) platform::logf("count = %d", maxy);
    addChild(board.get(), 1);
    scrollTo(0);
    showStatus(n == 0 ? "No scores yet" : "");
    showOwnRank();
}

void WorldRankingLayer::showTab(int tab) {
    S_abton->setPosition(kSelectedTabPositions[tab][0]);
    S_pbton->setPosition(kSelectedTabPositions[tab][1]);
    S_lbton->setPosition(kSelectedTabPositions[tab][2]);
    category = tab;
    if (board) board->removeAllChildrenWithCleanup(true);
    showOwnRank();
    requestScore();
}

bool WorldRankingLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = Director::sharedDirector().convertCoordinate(touches.front().locationInView());
    const Rect touch{p, {10, 10}};
    if (rectIntersectsRect(touch, R_abt)) showTab(0);
    if (rectIntersectsRect(touch, R_pbt)) showTab(1);
    if (rectIntersectsRect(touch, R_lbt)) showTab(2);
    if (rectIntersectsRect(touch, R_mbt)) MainMenuGo();
    starty = static_cast<int>(p.y);
    return true;
}

bool WorldRankingLayer::handleTouchesMoved(const TouchSet& touches, const TouchEvent&) {
    const Point p = Director::sharedDirector().convertCoordinate(touches.front().locationInView());
    tempy = static_cast<int>(static_cast<float>(starty) - p.y);
    if (board) scrollTo(board->position().y - static_cast<float>(tempy));
    platform::logf("position x = %f", board ? static_cast<double>(board->position().y) : 0.0);
    starty = static_cast<int>(p.y);
    return true;
}

bool WorldRankingLayer::keyPressed(platform::Key key) {
    if (key != platform::Key::Escape) return false;
    MainMenuGo();
    return true;
}

void WorldRankingLayer::MainMenuGo() {
    // The scene switch waits for the end of the frame, but the network answers of this frame come before
    // it: the leaving screen must hear none of them.
    callbacks_.reset();
    latestRequest_.reset();
    Director::sharedDirector().replaceScene(MenuScene::node().get());
}

bool WorldRankingLayer::handleScroll(float lines) {
    if (board) scrollTo(board->position().y - lines * kRowStep);
    return true;
}

void WorldRankingLayer::scrollTo(float y) {
    // Both ends hold: a list dragged down past its first row, or up past its last, would leave the panel
    // empty with nothing to show where the rows went.
    board->setPosition({0, std::clamp(y, 0.0f, static_cast<float>(maxy))});
    for (const Ref<Node>& cell : board->children()) {
        const float shownAt = cell->position().y + board->position().y;
        cell->setVisible(shownAt >= kPanelBottom && shownAt <= kPanelTop);
    }
}

void WorldRankingLayer::showStatus(const char* text) { status_->setString(text); }

const std::string& WorldRankingLayer::statusText() const { return status_->string(); }

const Label* WorldRankingLayer::ownRankLine() const {
    return ownRankLine_->visible() ? ownRankLine_.get() : nullptr;
}

void WorldRankingLayer::requestOwnRank() {
    ownRankCategory_ = categoryOfTab(game().SelectLevel - 1);
    ScoreServerRequest::serverWithGameName(std::string(kGameName), callbacks())
        ->requestRank(4, ownRankCategory_);
}

void WorldRankingLayer::ownRankAnswered(const ScoreServerRequest& client) {
    if (client.category() != ownRankCategory_) return;
    ownRank_ = client.parseRank();
    showOwnRank();
}

void WorldRankingLayer::showOwnRank() {
    const bool shown = ownRank_ && ownRankCategory_ == categoryOfTab(category);
    ownRankLine_->setVisible(shown);
    if (!shown) return;
    const std::string text =
        "Your place: " + std::to_string(ownRank_->rank) + " of " + std::to_string(ownRank_->total) + "   " +
        printableText(ownRank_->name, kMaxCellCharacters) + "   " + stringValue(ownRank_->score);
    if (text != ownRankLine_->string()) {
        ownRankLine_->setString(text);
        fitWidth(*ownRankLine_, 460);
        platform::log("own place: " + text);
    }
    // Inside the list the player's own row stands out; each row is four cells, best first.
    if (!board) return;
    const std::vector<Ref<Node>>& cells = board->children();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        auto* cell = dynamic_cast<Label*>(cells[i].get());
        const bool own = static_cast<long long>(i / 4) + 1 == ownRank_->rank;
        if (cell != nullptr) cell->setRGB(255, own ? 220 : 255, own ? 0 : 255);
    }
}

}  // namespace quintora
