// The modal alert: drawn above the running scene, taking every touch while shown, telling its delegate
// which button was pressed; and the application's keys and script event that answer it.
#include "engine/AlertView.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/Application.hpp"
#include "engine/Layer.hpp"
#include "engine/Scene.hpp"
#include "support/GLTest.hpp"

namespace quintora::testing {
namespace {

// A layer that counts the touches that reach it.
class CountingLayer : public Layer {
    QUINTORA_NODE(CountingLayer)
public:
    void init() override {
        Layer::init();
        setIsTouchEnabled(true);
    }
    bool handleTouchesBegan(const TouchSet&, const TouchEvent&) override {
        ++began;
        return true;
    }
    int began = 0;
};

class AlertViewTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        Ref<Scene> scene = Scene::node();
        layer = CountingLayer::node();
        scene->addChild(layer.get());
        director().runWithScene(scene.get());
        frame();
    }

    Ref<AlertView> question() {
        return AlertView::alertWithTitle(
            "New Record", "World Ranking Submit?", [this](AlertView&, int index) { pressed.push_back(index); }, "Yes",
            {"No"});
    }
    static void touch(TouchPhase phase, Point p) {
        director().touches(phase, TouchSet{Touch{1, {p.y, p.x}}}, TouchEvent{});
    }
    static bool near(std::array<int, 3> a, std::array<int, 3> b, int tolerance = 6) {
        for (int i = 0; i < 3; ++i) {
            if (std::abs(a[i] - b[i]) > tolerance) return false;
        }
        return true;
    }

    Ref<CountingLayer> layer;
    std::vector<int> pressed;
};

TEST_F(AlertViewTest, KeepsItsTitleMessageAndButtonsInOrder) {
    Ref<AlertView> alert = question();
    EXPECT_EQ(alert->title(), "New Record");
    EXPECT_EQ(alert->message(), "World Ranking Submit?");
    ASSERT_EQ(alert->numberOfButtons(), 2);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "Yes");
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "No");
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_FALSE(alert->isShown());
    EXPECT_EQ(director().shownAlert(), nullptr);
}

TEST_F(AlertViewTest, ATapOnAButtonPressesItAndTheAlertGoes) {
    Ref<AlertView> alert = question();
    alert->show();
    frame();
    EXPECT_EQ(director().shownAlert(), alert.get());
    const Rect no = alert->buttonFrame(1);
    touch(TouchPhase::Began, no.centre());
    frame();
    EXPECT_TRUE(pressed.empty()) << "a button is pressed when the finger lifts";
    touch(TouchPhase::Ended, no.centre());
    EXPECT_EQ(pressed, std::vector<int>{1});
    EXPECT_FALSE(alert->isShown());
    EXPECT_EQ(director().shownAlert(), nullptr);
    EXPECT_EQ(layer->began, 0) << "the touch that answered the alert went to the alert alone";

    touch(TouchPhase::Began, {10, 10});
    EXPECT_EQ(layer->began, 1) << "with the alert gone the layer gets touches again";
}

TEST_F(AlertViewTest, WhileShownNothingUnderneathIsTouchedAndMissesPressNothing) {
    Ref<AlertView> alert = question();
    alert->show();
    frame();
    // Off every button, on the box and off the box.
    for (Point p : {Point{10, 10}, Point{240, 160}, Point{470, 310}}) {
        touch(TouchPhase::Began, p);
        touch(TouchPhase::Ended, p);
    }
    // Down on one button, up on the other; down beside a button, up on it.
    touch(TouchPhase::Began, alert->buttonFrame(0).centre());
    touch(TouchPhase::Moved, alert->buttonFrame(1).centre());
    touch(TouchPhase::Ended, alert->buttonFrame(1).centre());
    touch(TouchPhase::Began, {10, 10});
    touch(TouchPhase::Ended, alert->buttonFrame(0).centre());
    EXPECT_TRUE(pressed.empty());
    EXPECT_TRUE(alert->isShown());
    EXPECT_EQ(layer->began, 0);
}

TEST_F(AlertViewTest, TheTwoButtonsSitSideBySideInsideTheScreen) {
    Ref<AlertView> alert = question();
    alert->show();
    const Rect yes = alert->buttonFrame(0), no = alert->buttonFrame(1);
    EXPECT_LE(yes.maxX(), no.minX()) << "Yes on the left, No on the right";
    EXPECT_EQ(yes.origin.y, no.origin.y);
    for (const Rect& r : {yes, no}) {
        EXPECT_GE(r.minX(), 0);
        EXPECT_LE(r.maxX(), 480);
        EXPECT_GE(r.minY(), 0);
        EXPECT_LE(r.maxY(), 320);
        EXPECT_GE(r.size.width, 44) << "big enough for a finger";
        EXPECT_GE(r.size.height, 30);
    }
}

TEST_F(AlertViewTest, IsDrawnAboveTheSceneAndGoneOnceAnswered) {
    Ref<AlertView> alert = question();
    frame();
    const auto before = screen();
    alert->show();
    frame();
    const auto shown = screen();
    // Beside a button, on its face: the face colour, opaque, whatever the scene draws below.
    const Rect no = alert->buttonFrame(1);
    const auto face = pixelAt(shown, static_cast<int>(no.origin.x) + 3, static_cast<int>(no.origin.y) + 3);
    EXPECT_TRUE(near(face, {66, 92, 160})) << face[0] << "," << face[1] << "," << face[2];
    EXPECT_FALSE(near(pixelAt(before, static_cast<int>(no.origin.x) + 3, static_cast<int>(no.origin.y) + 3), face));
    // The button's title is drawn in white on it.
    bool lettered = false;
    for (int x = static_cast<int>(no.minX()); x < static_cast<int>(no.maxX()); ++x) {
        for (int y = static_cast<int>(no.minY()); y < static_cast<int>(no.maxY()); ++y) {
            if (near(pixelAt(shown, x, y), {255, 255, 255}, 40)) lettered = true;
        }
    }
    EXPECT_TRUE(lettered);

    alert->dismissWithClickedButtonIndex(1);
    frame();
    const auto after = screen();
    EXPECT_EQ(pixelAt(after, static_cast<int>(no.origin.x) + 3, static_cast<int>(no.origin.y) + 3),
              pixelAt(before, static_cast<int>(no.origin.x) + 3, static_cast<int>(no.origin.y) + 3));
}

TEST_F(AlertViewTest, ALongMessageIsWrappedInsideTheBox) {
    Ref<AlertView> alert = AlertView::alertWithTitle(
        "Score Post Failed", "Internet connection not available. Enable wi-fi / 3g to post your scores to the server",
        nullptr, "OK");
    alert->show();
    frame();
    const auto shot = screen();
    // Left and right of the box the empty scene shows through the dimming only.
    const Rect ok = alert->buttonFrame(0);
    EXPECT_GE(ok.minX(), 80);
    EXPECT_LE(ok.maxX(), 400);
    int lit = 0;
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 480; ++x) {
            if ((x < 85 || x >= 395) && !near(pixelAt(shot, x, y), {0, 0, 0}, 2)) ++lit;
        }
    }
    EXPECT_EQ(lit, 0) << "text outside the box";
    alert->dismissWithClickedButtonIndex(0);  // no delegate: nothing to tell
    EXPECT_EQ(director().shownAlert(), nullptr);
}

TEST_F(AlertViewTest, ASecondAlertGoesOnTopAndTheFirstComesBack) {
    Ref<AlertView> first = question();
    Ref<AlertView> second = AlertView::alertWithTitle(
        "Score Request Failed", "x", [this](AlertView&, int index) { pressed.push_back(10 + index); }, "OK");
    first->show();
    second->show();
    EXPECT_EQ(director().shownAlert(), second.get());
    touch(TouchPhase::Began, second->buttonFrame(0).centre());
    touch(TouchPhase::Ended, second->buttonFrame(0).centre());
    EXPECT_EQ(pressed, std::vector<int>{10});
    EXPECT_EQ(director().shownAlert(), first.get());
}

TEST_F(AlertViewTest, TheDelegateMayShowAnotherAlert) {
    Ref<AlertView> follow = AlertView::alertWithTitle("Then", "", nullptr, "OK");
    Ref<AlertView> alert = AlertView::alertWithTitle(
        "First", "", [&](AlertView&, int) { follow->show(); }, "OK");
    alert->show();
    alert->dismissWithClickedButtonIndex(0);
    EXPECT_EQ(director().shownAlert(), follow.get());
    alert->dismissWithClickedButtonIndex(0);  // already gone: nothing happens
    EXPECT_EQ(director().shownAlert(), follow.get());
}

TEST_F(AlertViewTest, ReturnAndEscapePressTheFirstAndLastButton) {
    Application app(Options{});
    Ref<AlertView> alert = question();
    alert->show();
    app.key(platform::Key::Return, true);
    app.key(platform::Key::Return, false);
    EXPECT_EQ(pressed, std::vector<int>{0});

    question()->show();
    app.key(platform::Key::Escape, true);
    app.key(platform::Key::Escape, false);
    EXPECT_EQ(pressed, (std::vector<int>{0, 1}));
    EXPECT_EQ(director().shownAlert(), nullptr);

    app.key(platform::Key::Return, true);  // no alert: nothing to press
    EXPECT_EQ(pressed.size(), 2u);
}

}  // namespace
}  // namespace quintora::testing
