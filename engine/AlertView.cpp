#include "engine/AlertView.hpp"

#include <algorithm>

#include "engine/ColorRect.hpp"
#include "engine/Director.hpp"
#include "engine/Errors.hpp"
#include "engine/Label.hpp"
#include "engine/Sprite.hpp"
#include "platform/Font.hpp"

namespace quintora {
namespace {

// The font table's own default face until the game names one.
std::string& fontName() {
    static std::string name = "fallback";
    return name;
}

constexpr float kWidth = 300;
constexpr float kPadding = 14;
constexpr float kButtonHeight = 38;
constexpr float kButtonGap = 10;
constexpr float kTitleSize = 24;
constexpr float kMessageSize = 19;
constexpr float kButtonSize = 21;
constexpr float kTextWidth = kWidth - 2 * kPadding;

// Breaks the message into lines no wider than the box, at spaces; a single word wider than the box keeps
// its own line.
std::string wrapped(std::string_view text) {
    std::string result, line;
    auto flush = [&] {
        if (!result.empty()) result += '\n';
        result += line;
        line.clear();
    };
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(" \n", start), text.size());
        const std::string_view word = text.substr(start, end - start);
        const std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
        if (!line.empty() && platform::measureText(candidate, fontName(), kMessageSize).width > kTextWidth) {
            flush();
            line = word;
        } else {
            line = candidate;
        }
        if (end < text.size() && text[end] == '\n') flush();
        start = end + 1;
    }
    flush();
    return result;
}

}  // namespace

Ref<AlertView> AlertView::alertWithTitle(std::string_view title, std::string_view message, Delegate delegate,
                                         std::string_view cancelButtonTitle,
                                         std::vector<std::string> otherButtonTitles) {
    Ref<AlertView> alert = AlertView::node();
    alert->title_ = title;
    alert->message_ = message;
    alert->delegate_ = std::move(delegate);
    alert->buttonTitles_.emplace_back(cancelButtonTitle);
    for (std::string& other : otherButtonTitles) alert->buttonTitles_.push_back(std::move(other));
    return alert;
}

void AlertView::setFontName(std::string name) { fontName() = std::move(name); }

AlertView::Look& AlertView::look() {
    static Look pictures;
    return pictures;
}

const std::string& AlertView::buttonTitleAtIndex(int index) const {
    QASSERT(index >= 0 && index < numberOfButtons(), "AlertView: no button at that index");
    return buttonTitles_[static_cast<std::size_t>(index)];
}

Rect AlertView::buttonFrame(int index) const {
    QASSERT(index >= 0 && index < static_cast<int>(buttonFrames_.size()),
            "AlertView: no button at that index");
    return buttonFrames_[static_cast<std::size_t>(index)];
}

void AlertView::show() {
    if (shown_) return;
    if (buttonFrames_.empty()) layOut();
    shown_ = true;
    tracked_ = -1;
    Director::sharedDirector().showAlert(this);
}

void AlertView::dismissWithClickedButtonIndex(int buttonIndex) {
    if (!shown_) return;
    Ref<AlertView> keep(this);  // the director held the last reference
    shown_ = false;
    highlight(-1);
    Director::sharedDirector().removeAlert(this);
    // Told after leaving the screen, so that the delegate may show another alert or change the scene.
    if (delegate_) {
        Delegate delegate = std::move(delegate_);
        delegate_ = nullptr;
        delegate(*this, buttonIndex);
    }
}

void AlertView::layOut() {
    const Size screen = Director::sharedDirector().winSize();
    Ref<Label> title = Label::labelWithString(title_, fontName(), kTitleSize);
    Ref<Label> message = Label::labelWithString(wrapped(message_), fontName(), kMessageSize);

    // Two buttons sit side by side, as a question's answers do; more are stacked.
    const int count = numberOfButtons();
    const bool row = count <= 2;
    const float buttonsHeight =
        row ? kButtonHeight
            : static_cast<float>(count) * kButtonHeight + static_cast<float>(count - 1) * kButtonGap;
    const float titleHeight = title->contentSize().height;
    const float messageHeight = message_.empty() ? 0 : message->contentSize().height;
    const float height = kPadding + titleHeight + 4 + messageHeight + kPadding + buttonsHeight + kPadding;
    const Rect frame{{(screen.width - kWidth) / 2, (screen.height - height) / 2}, {kWidth, height}};

    addChild(colorRect({{0, 0}, screen}, 0, 0, 0, 110).get(), 0);
    addBox(frame);

    float top = frame.origin.y + height - kPadding;
    title->setRGB(255, 255, 255);
    title->setPosition({screen.width / 2, top - titleHeight / 2});
    addChild(title.get(), 5);
    top -= titleHeight + 4;
    if (!message_.empty()) {
        message->setRGB(225, 232, 250);
        message->setPosition({screen.width / 2, top - messageHeight / 2});
        addChild(message.get(), 5);
    }

    const float left = frame.origin.x + kPadding;
    const float buttonWidth =
        row ? (kTextWidth - static_cast<float>(count - 1) * kButtonGap) / static_cast<float>(count)
            : kTextWidth;
    for (int i = 0; i < count; ++i) {
        const float fi = static_cast<float>(i);
        const Rect button = row ? Rect{{left + fi * (buttonWidth + kButtonGap), frame.origin.y + kPadding},
                                       {buttonWidth, kButtonHeight}}
                                : Rect{{left, frame.origin.y + kPadding + buttonsHeight - kButtonHeight -
                                                  fi * (kButtonHeight + kButtonGap)},
                                       {buttonWidth, kButtonHeight}};
        buttonFrames_.push_back(button);
        Ref<Sprite> face = Sprite::spriteWithFile(row && count == 2 ? look().button : look().wideButton);
        face->setPosition(button.centre());
        addChild(face.get(), 4);
        buttonFaces_.push_back(face);
        Ref<Label> label =
            Label::labelWithString(buttonTitles_[static_cast<std::size_t>(i)], fontName(), kButtonSize);
        label->setRGB(45, 48, 71);
        label->setPosition(button.centre());
        addChild(label.get(), 5);
    }
}

void AlertView::addBox(Rect frame) {
    // The box's edges keep their shape; only its middle, the same in every row, is stretched to the height.
    Ref<Sprite> top = Sprite::spriteWithFile(look().top);
    Ref<Sprite> middle = Sprite::spriteWithFile(look().middle);
    Ref<Sprite> bottom = Sprite::spriteWithFile(look().bottom);
    const float x = frame.centre().x;
    const float topHeight = top->contentSize().height, bottomHeight = bottom->contentSize().height;
    const float middleHeight = std::max(0.0f, frame.size.height - topHeight - bottomHeight);
    top->setPosition({x, frame.origin.y + frame.size.height - topHeight / 2});
    bottom->setPosition({x, frame.origin.y + bottomHeight / 2});
    // The edge pieces' last rows of pixels are filtered half into the clear padding of their textures and
    // would show a darker seam; the middle, whose texture has no padding, reaches one point over each of
    // them and is drawn above them.
    middle->setScaleY((middleHeight + 2) / middle->contentSize().height);
    middle->setPosition({x, frame.origin.y + bottomHeight + middleHeight / 2});
    addChild(top.get(), 1);
    addChild(bottom.get(), 1);
    addChild(middle.get(), 2);
}

void AlertView::highlight(int index) {
    for (std::size_t i = 0; i < buttonFaces_.size(); ++i) {
        // A pressed button darkens, as a finger's shadow would.
        if (static_cast<int>(i) == index) {
            buttonFaces_[i]->setRGB(190, 180, 170);
        } else {
            buttonFaces_[i]->setRGB(255, 255, 255);
        }
    }
}

int AlertView::buttonAt(Point scenePoint) const {
    for (std::size_t i = 0; i < buttonFrames_.size(); ++i) {
        if (rectContainsPoint(buttonFrames_[i], scenePoint)) return static_cast<int>(i);
    }
    return -1;
}

void AlertView::touches(TouchPhase phase, const TouchSet& touches) {
    if (!shown_ || touches.empty()) return;
    const Point p = Director::sharedDirector().convertCoordinate(touches.front().locationInView());
    switch (phase) {
        case TouchPhase::Began:
            tracked_ = buttonAt(p);
            highlight(tracked_);
            break;
        case TouchPhase::Moved:
            // A finger that slides off its button lets go of it; sliding back takes it again.
            if (tracked_ >= 0) highlight(buttonAt(p) == tracked_ ? tracked_ : -1);
            break;
        case TouchPhase::Ended: {
            const int tracked = tracked_;
            tracked_ = -1;
            highlight(-1);
            if (tracked >= 0 && buttonAt(p) == tracked) dismissWithClickedButtonIndex(tracked);
            break;
        }
        case TouchPhase::Cancelled:
            tracked_ = -1;
            highlight(-1);
            break;
    }
}

}  // namespace quintora
