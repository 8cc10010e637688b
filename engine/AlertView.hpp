#pragma once
// A modal message box: a title, a message and a row of buttons, drawn by the director above the running
// scene. While one is shown it takes every touch, so nothing underneath can be pressed, until a button
// is pressed; the delegate then hears which one. Button 0 is the cancel button, the others follow in the
// order given.
//
// Showing a second alert over a first puts it on top; the first comes back when the second is gone.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Node.hpp"
#include "engine/Sprite.hpp"
#include "engine/Touch.hpp"

namespace quintora {

class AlertView : public Node {
    QUINTORA_NODE(AlertView)
  public:
    // Called once, after the alert has left the screen, with the index of the button pressed.
    using Delegate = std::function<void(AlertView& alert, int buttonIndex)>;

    static Ref<AlertView> alertWithTitle(std::string_view title, std::string_view message, Delegate delegate,
                                         std::string_view cancelButtonTitle,
                                         std::vector<std::string> otherButtonTitles = {});

    // The font of every alert's text, by its name in the font table; the table's fallback face until set.
    static void setFontName(std::string name);

    // The pictures every alert is drawn from: the box's top and bottom edges and its middle (stretched
    // to the height of the text, so it must look the same in every row), and the faces of a button that
    // shares its row with one other and of a button alone on its row.
    struct Look {
        std::string top = "alerttop.png";
        std::string middle = "alertmiddle.png";
        std::string bottom = "alertbottom.png";
        std::string button = "alertbt.png";
        std::string wideButton = "alertbtwide.png";
    };
    static Look& look();

    void show();
    // Takes the alert off the screen and tells the delegate; nothing happens when it is not shown.
    void dismissWithClickedButtonIndex(int buttonIndex);
    [[nodiscard]] bool isShown() const { return shown_; }

    [[nodiscard]] const std::string& title() const { return title_; }
    [[nodiscard]] const std::string& message() const { return message_; }
    [[nodiscard]] int numberOfButtons() const { return static_cast<int>(buttonTitles_.size()); }
    [[nodiscard]] const std::string& buttonTitleAtIndex(int index) const;
    [[nodiscard]] int cancelButtonIndex() const { return 0; }
    // Where a button lies on the screen, in scene points.
    [[nodiscard]] Rect buttonFrame(int index) const;

    // The director hands every touch to the alert on top. A button is pressed when a touch that began on
    // it also ends on it.
    void touches(TouchPhase phase, const TouchSet& touches);

  protected:
    AlertView() = default;

  private:
    void layOut();
    void addBox(Rect frame);
    void highlight(int index);
    [[nodiscard]] int buttonAt(Point scenePoint) const;

    std::string title_;
    std::string message_;
    std::vector<std::string> buttonTitles_;
    Delegate delegate_;
    bool shown_ = false;
    int tracked_ = -1;  // the button the current touch began on
    std::vector<Rect> buttonFrames_;
    std::vector<Ref<Sprite>> buttonFaces_;
};

}  // namespace quintora
