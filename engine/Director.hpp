#pragma once
// The one object that owns the running scene and the frame clock. The application loop calls mainLoop
// once every animationInterval: it measures the delta time, fires the due timers, switches to a newly
// requested scene at the frame boundary, draws the running scene and presents the frame.
#include <vector>

#include "engine/Geometry.hpp"
#include "engine/Object.hpp"
#include "engine/Scene.hpp"
#include "engine/Touch.hpp"
#include "platform/Clock.hpp"

namespace quintora {

class AlertView;
class EAGLView;
class Layer;
class Node;
class Scene;
class CharMapLabel;

namespace platform {
class Display;
}

enum class DirectorPixelFormat { RGB565 = 0, RGBA8 = 1 };
enum class DirectorDepthFormat { None = 0, Depth16 = 1, Depth24 = 2 };

class Director {
  public:
    static Director& sharedDirector();

    // Scenes
    void runWithScene(Scene* scene);
    void replaceScene(Scene* scene);
    void pushScene(Scene* scene);
    void popScene();
    void end();
    [[nodiscard]] Scene* runningScene() const;

    // The frame
    void mainLoop();
    // Draws the current frame again, without time passing and without presenting it.
    void redraw();
    void pause();
    void resume();
    [[nodiscard]] bool isPaused() const { return paused_; }
    void setNextDeltaTimeZero(bool zero) { nextDeltaTimeZero_ = zero; }
    [[nodiscard]] float deltaTime() const { return dt_; }
    [[nodiscard]] double animationInterval() const { return animationInterval_; }
    void setAnimationInterval(double seconds);
    void startAnimation();
    void stopAnimation();
    // Whether the repeating frame timer runs: the application loop calls mainLoop only then.
    [[nodiscard]] bool isAnimating() const { return animating_; }

    // The GL view. Attaching makes it (the first time) inside the given window; raises the engine's
    // attach exceptions when that cannot be done.
    bool attachInWindow(platform::Display* window);
    bool attachInView(platform::Display* view);
    bool attachInView(platform::Display* view, Rect frame);
    void detach();
    [[nodiscard]] EAGLView* openGLView() const;
    [[nodiscard]] bool isAttached() const { return attached_; }
    void setPixelFormat(DirectorPixelFormat format);
    [[nodiscard]] DirectorPixelFormat pixelFormat() const { return pixelFormat_; }
    void setDepthBufferFormat(DirectorDepthFormat format);
    [[nodiscard]] float frameRate() const { return frameRate_; }

    // Screen geometry
    void setLandscape(bool landscape);
    [[nodiscard]] bool landscape() const { return landscape_; }
    [[nodiscard]] Size winSize() const;
    [[nodiscard]] Size displaySize() const { return frameSize_; }
    // A point of the portrait view (origin top left) as a scene point (origin lower left).
    [[nodiscard]] Point convertCoordinate(Point viewPoint) const;

    // Touches: the GL view forwards them here, and they go to the registered layers, newest first.
    void addEventHandler(Layer* handler);
    void removeEventHandler(Layer* handler);
    void touches(TouchPhase phase, const TouchSet& touches, const TouchEvent& event);
    void touchesBegan(const TouchSet& t, const TouchEvent& e) { touches(TouchPhase::Began, t, e); }
    void touchesMoved(const TouchSet& t, const TouchEvent& e) { touches(TouchPhase::Moved, t, e); }
    void touchesEnded(const TouchSet& t, const TouchEvent& e) { touches(TouchPhase::Ended, t, e); }
    void touchesCancelled(const TouchSet& t, const TouchEvent& e) { touches(TouchPhase::Cancelled, t, e); }
    // A mouse wheel, handed to the layers as touches are (nothing while an alert is up).
    void scroll(float lines);
    [[nodiscard]] bool eventsEnabled() const { return eventsEnabled_; }
    void setEventsEnabled(bool enabled) { eventsEnabled_ = enabled; }

    // Alerts: drawn above the running scene, newest on top; the one on top takes every touch.
    void showAlert(AlertView* alert);
    void removeAlert(AlertView* alert);
    // The alert on top, or null.
    [[nodiscard]] AlertView* shownAlert() const;

    // Overlays: nodes drawn above everything, alerts included, that take no touches and belong to no
    // scene, so they stay across scene changes (a volume indicator, a pointer). Drawn in order added.
    void addOverlay(Node* node);
    void removeOverlay(Node* node);

    [[nodiscard]] bool displayFPS() const { return displayFPS_; }
    void setDisplayFPS(bool display) { displayFPS_ = display; }
    // Without drawing, a frame only runs the scheduler and the scene changes: for re-playing a run as fast
    // as the machine goes.
    void setDrawing(bool drawing) { drawing_ = drawing; }

  private:
    Director();
    bool initOpenGLViewWithView(platform::Display* view, Rect frame);
    void initGLDefaultValues();
    void applyFrameState();
    void setDefaultProjection();
    void applyLandscape();
    void showFPS();
    // Walks the tree and draws the frame; false when it is the same picture as the last one.
    bool drawScene();
    // Sets the GL state and the camera every frame is drawn with.
    void prepareFrame();
    void clearBuffers();
    void presentFrame(bool changed);
    void calculateDeltaTime();
    void setNextScene();
    [[nodiscard]] platform::TimeOfDay now() const;

    Ref<EAGLView> openGLView_;
    bool attached_ = false;
    DirectorPixelFormat pixelFormat_ = DirectorPixelFormat::RGB565;
    DirectorDepthFormat depthBufferFormat_ = DirectorDepthFormat::None;
    int frames_ = 0;
    float accumDt_ = 0;
    float frameRate_ = 0;
    Ref<CharMapLabel> FPSLabel_;
    double animationInterval_ = 1.0 / 60;
    double oldAnimationInterval_ = 1.0 / 60;
    bool animating_ = false;
    bool landscape_ = false;
    bool displayFPS_ = false;
    bool drawing_ = true;
    bool paused_ = false;
    int surfaceRebuilds_ = 0;
    Size frameSize_{320, 480};  // the portrait GL view
    Ref<Scene> runningScene_;
    Scene* nextScene_ = nullptr;  // held by the scene stack
    std::vector<Ref<Layer>> eventHandlers_;
    std::vector<Ref<AlertView>> alerts_;
    std::vector<Ref<Node>> overlays_;
    std::vector<Ref<Scene>> scenesStack_;
    platform::TimeOfDay lastUpdate_;
    float dt_ = 0;
    bool nextDeltaTimeZero_ = false;
    bool eventsEnabled_ = true;
};

// The first child of the running scene that is a T (a layer, or an interface a layer has), or null.
template <class T>
[[nodiscard]] T* runningSceneChild() {
    Scene* scene = Director::sharedDirector().runningScene();
    if (scene == nullptr) return nullptr;
    for (const Ref<Node>& child : scene->children()) {
        if (auto* found = dynamic_cast<T*>(child.get())) return found;
    }
    return nullptr;
}

}  // namespace quintora
