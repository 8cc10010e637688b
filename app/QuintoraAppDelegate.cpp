#include "app/QuintoraAppDelegate.hpp"

#include "app/ScreenNavigation.hpp"
#include "app/screens/MenuScene.hpp"
#include "engine/Director.hpp"
#include "engine/TextureMgr.hpp"
#include "platform/Display.hpp"

namespace quintora {

void QuintoraAppDelegate::applicationDidFinishLaunching(platform::Display* window) {
    setWindow(window);
    useScreenNavigation();
    window->multipleTouchEnabled = true;
    Director& director = Director::sharedDirector();
    director.setLandscape(true);
    director.attachInWindow(window);
    director.runWithScene(MenuScene::node().get());
}

void QuintoraAppDelegate::applicationWillResignActive() { Director::sharedDirector().pause(); }

void QuintoraAppDelegate::applicationDidBecomeActive() { Director::sharedDirector().resume(); }

void QuintoraAppDelegate::applicationDidReceiveMemoryWarning() {
    TextureMgr::sharedTextureMgr().removeAllTextures();
}

void QuintoraAppDelegate::applicationWillTerminate() { Director::sharedDirector().end(); }

void QuintoraAppDelegate::applicationSignificantTimeChange() {
    Director::sharedDirector().setNextDeltaTimeZero(true);
}

}  // namespace quintora
