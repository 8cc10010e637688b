#include "app/screens/PracticeScene.hpp"

#include <string>

#include "flow/ChangeClass.hpp"
#include "flow/GameState.hpp"
#include "app/screens/MenuScene.hpp"
#include "games/StageTable.hpp"
#include "engine/ColorRect.hpp"
#include "engine/Director.hpp"
#include "engine/Label.hpp"
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
constexpr float kLevelWidth = 120, kLevelHeight = 30, kLevelTop = 284;

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
    Ref<Label> title = Label::labelWithString("Practice", kFont, 24);
    title->setRGB(255, 255, 255);
    title->setPosition({240, 302});
    addChild(title.get(), 3);

    for (int level = 1; level <= 3; ++level) {
        addButton(levelFrame(level), kLevelNames[level - 1], 19,
                  &levelFaces_[static_cast<std::size_t>(level - 1)]);
    }
    for (const StageEntry& stage : stageTable())
        addButton(stageFrame(stage.number), stage.title, 15, nullptr);
    addButton(backFrame(), "Main Menu", 17, nullptr);
    chooseLevel(level_);
}

void PracticeLayer::addButton(Rect frame, const char* title, float fontSize, Ref<Sprite>* face) {
    addChild(
        colorRect({{frame.origin.x - 1, frame.origin.y - 1}, {frame.size.width + 2, frame.size.height + 2}},
                  170, 185, 225)
            .get(),
        2);
    Ref<Sprite> inside = colorRect(frame, 66, 92, 160);
    addChild(inside.get(), 2);
    if (face) *face = inside;
    Ref<Label> label = Label::labelWithString(title, kFont, fontSize);
    label->setRGB(255, 255, 255);
    label->setPosition(frame.centre());
    // Long titles are narrowed to fit their button rather than spill over the next one.
    const float room = frame.size.width - 8;
    if (label->contentSize().width > room) label->setScaleX(room / label->contentSize().width);
    addChild(label.get(), 3);
}

void PracticeLayer::chooseLevel(int level) {
    if (level < 1 || level > 3) return;
    for (int i = 1; i <= 3; ++i) {
        Sprite* face = levelFaces_[static_cast<std::size_t>(i - 1)].get();
        if (i == level) {
            face->setRGB(232, 140, 40);
        } else {
            face->setRGB(66, 92, 160);
        }
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

}  // namespace quintora
