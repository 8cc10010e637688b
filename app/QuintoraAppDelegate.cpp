#include "app/QuintoraAppDelegate.hpp"

#include "app/StartScene.hpp"
#include "engine/Director.hpp"
#include "engine/TextureMgr.hpp"
#include "platform/Display.hpp"

namespace quintora {

void QuintoraAppDelegate::applicationDidFinishLaunching(platform::Display* window) {
    setWindow(window);
    window->multipleTouchEnabled = true;
    Director& director = Director::sharedDirector();
    director.setLandscape(true);
    director.attachInWindow(window);
    director.runWithScene(startScene().get());
}

void QuintoraAppDelegate::applicationWillResignActive() { Director::sharedDirector().pause(); }

void QuintoraAppDelegate::applicationDidBecomeActive() { Director::sharedDirector().resume(); }

void QuintoraAppDelegate::applicationDidReceiveMemoryWarning() { TextureMgr::sharedTextureMgr().removeAllTextures(); }

void QuintoraAppDelegate::applicationWillTerminate() { Director::sharedDirector().end(); }

void QuintoraAppDelegate::applicationSignificantTimeChange() { Director::sharedDirector().setNextDeltaTimeZero(true); }

}  // namespace quintora
