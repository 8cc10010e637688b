#include "app/screens/PracticeScene.hpp"

#include <string>
#include <vector>

#include "app/screens/MenuScene.hpp"
#include "engine/ColorRect.hpp"
#include "engine/Director.hpp"
#include "engine/Label.hpp"
#include "engine/TextureMgr.hpp"
#include "flow/ChangeClass.hpp"
#include "flow/GameState.hpp"
#include "games/StageTable.hpp"
#include "platform/Log.hpp"
#include "platform/UserDefaults.hpp"

namespace quintora {
namespace {

constexpr const char* kFont = "Marker Felt";
constexpr const char* kLevelNames[3] = {"Amateur", "Pro", "Legend"};

// Four columns of four stages, under a row of the three levels.
constexpr float kCellWidth = 108, kCellHeight = 38, kGap = 7;
constexpr float kGridLeft = (480 - (4 * kCellWidth + 3 * kGap)) / 2;
constexpr float kGridTop = 236;
constexpr float kLevelWidth = 110, kLevelHeight = 36, kLevelTop = 288;
constexpr const char* kLevelPictures[3] = {"abt", "pbt", "lbt"};

}  // namespace

void PracticeScene::init() {
    Scene::init();
    addChild(PracticeLayer::node().get(), 0);
}

Rect PracticeLayer::levelFrame(int level) {
    const float left = 240 - (3 * kLevelWidth + 2 * kGap) / 2;
    return {{left + static_cast<float>(level - 1) * (kLevelWidth + kGap), kLevelTop - kLevelHeight},
            {kLevelWidth, kLevelHeight}};
}

Rect PracticeLayer::stageFrame(int number) {
    const int column = (number - 1) % 4, row = (number - 1) / 4;
    return {{kGridLeft + static_cast<float>(column) * (kCellWidth + kGap),
             kGridTop - kCellHeight - static_cast<float>(row) * (kCellHeight + kGap)},
            {kCellWidth, kCellHeight}};
}

Rect PracticeLayer::backFrame() { return {{180, 12}, {120, 30}}; }

void PracticeLayer::init() {
    Layer::init();
    setIsTouchEnabled(true);
    if (const auto stored = platform::UserDefaults::standardUserDefaults().stringForKey(kLevelKey)) {
        if (*stored == "1" || *stored == "2" || *stored == "3") level_ = (*stored)[0] - '0';
    }

    Ref<Sprite> background = Sprite::spriteWithFile("mainbg.png");
    background->setPosition({240, 160});
    addChild(background.get(), 0);
    addChild(colorRect({{0, 0}, {480, 320}}, 20, 30, 60, 150).get(), 1);
    Ref<Label> title = Label::labelWithString("Practice", kFont, 21);
    title->setRGB(255, 255, 255);
    title->setPosition({240, 306});
    addChild(title.get(), 3);

    std::vector<Rect> buttons;
    for (int level = 1; level <= 3; ++level) {
        Ref<Sprite> face = Sprite::spriteWithFile(std::string(kLevelPictures[level - 1]) + "off.png");
        face->setPosition(levelFrame(level).centre());
        addChild(face.get(), 2);
        levelFaces_[static_cast<std::size_t>(level - 1)] = face;
        buttons.push_back(levelFrame(level));
    }
    for (const StageEntry& stage : stageTable()) {
        addStageButton(stageFrame(stage.number), stage.title);
        buttons.push_back(stageFrame(stage.number));
    }
    Ref<Sprite> back = Sprite::spriteWithFile("practicebackbt.png");
    back->setPosition(backFrame().centre());
    addChild(back.get(), 2);
    buttons.push_back(backFrame());
    focus_.setButtons(this, 4, std::move(buttons), kFirstStageButton);
    chooseLevel(level_);
}

void PracticeLayer::addStageButton(Rect frame, const char* title) {
    Ref<Sprite> face = Sprite::spriteWithFile("practicecell.png");
    face->setPosition(frame.centre());
    addChild(face.get(), 2);
    Ref<Label> label = Label::labelWithString(title, kFont, 15);
    label->setRGB(255, 255, 255);
    label->setPosition(frame.centre());
    // A long title is made smaller, never narrower, to fit its button.
    const float room = frame.size.width - 12;
    if (label->contentSize().width > room) label->setScale(room / label->contentSize().width);
    addChild(label.get(), 3);
}

void PracticeLayer::chooseLevel(int level) {
    if (level < 1 || level > 3) return;
    for (int i = 1; i <= 3; ++i) {
        const std::string picture = std::string(kLevelPictures[i - 1]) + (i == level ? "on.png" : "off.png");
        levelFaces_[static_cast<std::size_t>(i - 1)]->setTexture(
            TextureMgr::sharedTextureMgr().addImage(picture));
    }
    if (level == level_) return;
    level_ = level;
    platform::UserDefaults::standardUserDefaults().setObject(std::to_string(level), kLevelKey);
}

void PracticeLayer::play(int number) {
    GameState& state = game();
    state.SelectLevel = level_;
    state.practice = true;
    platform::logf("practice: stage %d at level %d", number, level_);
    ChangeClass::make()->startStage(number);
}

void PracticeLayer::backToMenu() {
    game().practice = false;
    Director::sharedDirector().replaceScene(MenuScene::node().get());
}

bool PracticeLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = Director::sharedDirector().convertCoordinate(touches.front().locationInView());
    for (int level = 1; level <= 3; ++level) {
        if (rectContainsPoint(levelFrame(level), p)) chooseLevel(level);
    }
    for (const StageEntry& stage : stageTable()) {
        if (rectContainsPoint(stageFrame(stage.number), p)) {
            play(stage.number);
            return true;
        }
    }
    if (rectContainsPoint(backFrame(), p)) backToMenu();
    return true;
}

bool PracticeLayer::keyPressed(platform::Key key) {
    if (focus_.arrowKey(key)) return true;
    if (key == platform::Key::Escape) {
        backToMenu();
        return true;
    }
    if (key != platform::Key::Return) return false;
    const int button = focus_.focused();
    if (button < kFirstStageButton) {
        chooseLevel(button + 1);
    } else if (button < kFirstStageButton + static_cast<int>(stageTable().size())) {
        play(button - kFirstStageButton + 1);
    } else {
        backToMenu();
    }
    return true;
}

}  // namespace quintora
