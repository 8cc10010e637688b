#pragma once
// The records screen under the real director, with a headless GL context, the virtual clock and the
// user-defaults store in a SQLite file of a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/ScreenNavigation.hpp"
#include "app/desktop/Keyboard.hpp"
#include "app/screens/RecordScene.hpp"
#include "engine/AlertView.hpp"
#include "flow/GameState.hpp"
#include "platform/Audio.hpp"
#include "platform/UserDefaults.hpp"
#include "support/Files.hpp"
#include "support/GLTest.hpp"

namespace quintora::testing {

class RecordsTest : public GLTest {
  public:
    void SetUp() override {
        GLTest::SetUp();
        platform::disableAudio();
        useScreenNavigation();
        game().reset();
        Keyboard::shared().setReceiver(nullptr);
        useDataFolder(folder_ / "data");
    }
    void TearDown() override {
        GLTest::TearDown();
        Keyboard::shared().setReceiver(nullptr);
        game().reset();
    }

    static void useDataFolder(const std::filesystem::path& folder) {
        platform::setDataDirectory(folder.string());
    }
    static void put(const std::string& key, const std::string& value) {
        ASSERT_TRUE(platform::UserDefaults::standardUserDefaults().setObject(value, key));
    }

    // Opens the records screen as the end of a run (or from the menu) and lets it enter; a screen already
    // running is replaced, as a new run's records screen replaces the last scene.
    static RecordLayer* openAtEndOfRun(int level, float totalTime) {
        game().SelectLevel = level;
        game().Totaltime = totalTime;
        game().B_Record = true;
        return open();
    }
    static RecordLayer* open() {
        if (director().runningScene() != nullptr) {
            director().replaceScene(RecordScene::node().get());
        } else {
            director().runWithScene(RecordScene::node().get());
        }
        frame();
        return dynamic_cast<RecordLayer*>(director().runningScene()->children().front().get());
    }

    // The keyboard, as the window delivers it: typed text, Backspace ("\b") or Return ("\n").
    static void type(const std::string& text) {
        TextInputReceiver* receiver = Keyboard::shared().receiver();
        ASSERT_NE(receiver, nullptr) << "nothing takes the keyboard";
        if (text == "\b") {
            receiver->deleteBackward();
        } else if (text == "\n") {
            receiver->returnKey();
        } else {
            receiver->insertText(text);
        }
        frame();
    }
    static void pressReturn() { type("\n"); }

    // A finger at a scene point; the portrait view has the axes swapped.
    static void touch(TouchPhase phase, Point p) {
        director().touches(phase, TouchSet{Touch{1, {p.y, p.x}}}, TouchEvent{});
    }
    static void tap(Rect r) {
        touch(TouchPhase::Began, r.centre());
        frame();
        touch(TouchPhase::Ended, r.centre());
        frame();
    }
    static AlertView* alert() { return director().shownAlert(); }
};

using testing::CapturedLog;

}  // namespace quintora::testing
