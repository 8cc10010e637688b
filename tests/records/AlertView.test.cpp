// The modal alert: taking every touch while shown, telling its delegate which button was pressed; and the
// application's keys that answer it.
#include "engine/AlertView.hpp"

#include <gtest/gtest.h>

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
    bool handleTouchesBegan(const TouchSet&, const TouchEvent&) override { return ++began > 0; }
    int began = 0;
};

class AlertViewTest : public GLTest {
  public:
    void SetUp() override {
        GLTest::SetUp();
        Ref<Scene> scene = Scene::node();
        layer = CountingLayer::node();
        scene->addChild(layer.get());
        director().runWithScene(scene.get());
        frame();
    }
    Ref<AlertView> question() {
        return AlertView::alertWithTitle("New Record", "World Ranking Submit?",
                                         [this](AlertView&, int index) { pressed.push_back(index); }, "Yes",
                                         {"No"});
    }
    static void touch(TouchPhase phase, Point p) {
        director().touches(phase, TouchSet{Touch{1, {p.y, p.x}}}, TouchEvent{});
    }

    Ref<CountingLayer> layer;
    std::vector<int> pressed;
};

TEST_F(AlertViewTest, OnlyAFingerLiftedOnTheButtonItWentDownOnPressesItAndNothingUnderneathIsTouched) {
    Ref<AlertView> alert = question();
    EXPECT_EQ(director().shownAlert(), nullptr);
    alert->show();
    frame();
    const Point yes = alert->buttonFrame(0).centre(), no = alert->buttonFrame(1).centre();
    const std::vector<std::pair<Point, Point>> misses = {
        {{240, 160}, {240, 160}}, {yes, no}, {{10, 10}, yes}};
    for (const auto& [down, up] : misses) {
        touch(TouchPhase::Began, down);
        touch(TouchPhase::Ended, up);
    }
    EXPECT_TRUE(pressed.empty());
    touch(TouchPhase::Began, no);
    frame();
    touch(TouchPhase::Ended, no);
    EXPECT_EQ(pressed, std::vector<int>{1});
    EXPECT_EQ(director().shownAlert(), nullptr);
    EXPECT_EQ(layer->began, 0) << "every touch went to the alert alone";
    touch(TouchPhase::Began, {10, 10});
    EXPECT_EQ(layer->began, 1) << "with the alert gone the layer gets touches again";
}

TEST_F(AlertViewTest, ReturnPressesTheFirstButtonAndEscapeTheLast) {
    Application application(Options{});
    for (const auto& [key, button] : {std::pair{platform::Key::Return, 0}, {platform::Key::Escape, 1}}) {
        question()->show();
        frame();
        application.key(key, true);
        application.key(key, false);
        EXPECT_EQ(pressed.back(), button);
        EXPECT_EQ(director().shownAlert(), nullptr);
    }
    EXPECT_EQ(pressed.size(), 2u);
}

}  // namespace
}  // namespace quintora::testing
