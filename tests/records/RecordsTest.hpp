#pragma once
// The records screen under the real director, with a headless GL context, the virtual clock and the
// user-defaults store in a SQLite file of a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/GameState.hpp"
#include "app/Keyboard.hpp"
#include "app/RecordScene.hpp"
#include "engine/AlertView.hpp"
#include "platform/Audio.hpp"
#include "platform/Log.hpp"
#include "platform/UserDefaults.hpp"
#include "support/Files.hpp"
#include "support/GLTest.hpp"

namespace quintora::testing {

class RecordsTest : public GLTest {
public:
    void SetUp() override {
        GLTest::SetUp();
        platform::disableAudio();
        game().reset();
        Keyboard::shared().setReceiver(nullptr);
        useDataFolder(folder_ / "data");
    }
    void TearDown() override {
        GLTest::TearDown();
        Keyboard::shared().setReceiver(nullptr);
        game().reset();
    }

    static void useDataFolder(const std::filesystem::path& folder) { platform::setDataDirectory(folder.string()); }
    static platform::UserDefaults& store() { return platform::UserDefaults::standardUserDefaults(); }
    static void put(const std::string& key, const std::string& value) { ASSERT_TRUE(store().setObject(value, key)); }

    // Opens the records screen as the end of a run (or from the menu) and lets it enter.
    static RecordLayer* openAtEndOfRun(int level, float totalTime) {
        game().SelectLevel = level;
        game().Totaltime = totalTime;
        game().B_Record = true;
        return open();
    }
    static RecordLayer* openFromMenu() {
        game().B_Record = false;
        return open();
    }
    // A screen already running is replaced, as a new run's records screen replaces the last scene.
    static RecordLayer* open() {
        if (director().runningScene() != nullptr) {
            director().replaceScene(RecordScene::node().get());
        } else {
            director().runWithScene(RecordScene::node().get());
        }
        frame();
        return recordLayer();
    }
    static RecordLayer* recordLayer() {
        Scene* scene = director().runningScene();
        if (scene == nullptr) return nullptr;
        for (const Ref<Node>& child : scene->children()) {
            if (auto* layer = dynamic_cast<RecordLayer*>(child.get())) return layer;
        }
        return nullptr;
    }

    // The keyboard, as the window delivers it; typing with nothing to take it fails the test.
    static TextInputReceiver& keyboard() {
        static struct : TextInputReceiver {
            void insertText(std::string_view) override { ADD_FAILURE() << "nothing takes typed text"; }
            void deleteBackward() override { ADD_FAILURE() << "nothing takes Backspace"; }
            void returnKey() override { ADD_FAILURE() << "nothing takes Return"; }
        } nobody;
        TextInputReceiver* receiver = Keyboard::shared().receiver();
        return receiver != nullptr ? *receiver : nobody;
    }
    static void type(const std::string& text) {
        keyboard().insertText(text);
        frame();
    }
    static void backspace() {
        keyboard().deleteBackward();
        frame();
    }
    static void pressReturn() {
        keyboard().returnKey();
        frame();
    }

    // A finger at a scene point; the portrait view has the axes swapped.
    static void touch(TouchPhase phase, Point p) {
        director().touches(phase, TouchSet{Touch{1, {p.y, p.x}}}, TouchEvent{});
    }
    static void tap(Point p) {
        touch(TouchPhase::Began, p);
        frame();
        touch(TouchPhase::Ended, p);
        frame();
    }
    static Point centre(Rect r) { return r.centre(); }

    static AlertView* alert() { return director().shownAlert(); }
};

using testing::CapturedLog;

}  // namespace quintora::testing
