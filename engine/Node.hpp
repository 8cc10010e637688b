#pragma once
// The element of the scene tree: a position, rotation, scale and z order; an ordered list of children;
// the timed actions running on it and the timers it asked for.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Geometry.hpp"
#include "engine/Object.hpp"
#include "engine/Selector.hpp"

namespace quintora {

class Action;
class Timer;

class Node : public Object {
  public:
    // Makes a T and runs its init, the two-phase construction every node kind goes through.
    template <class T>
    static Ref<T> make() {
        Ref<T> node(new T());
        node->init();
        return node;
    }
    static Ref<Node> node() { return make<Node>(); }

    ~Node() override;

    virtual void init() {}
    virtual void draw() {}
    virtual void visit();
    virtual void transform();
    virtual void onEnter();
    virtual void onExit();
    virtual void cleanup();

    // Children
    Node* addChild(Node* child, int z, int tag);
    Node* addChild(Node* child, int z);
    Node* addChild(Node* child);
    void removeChild(Node* child, bool cleanup);
    void removeAllChildrenWithCleanup(bool cleanup);
    [[nodiscard]] Node* getChildByTag(int tag) const;
    void removeChildByTag(int tag, bool cleanup);
    void reorderChild(Node* child, int z);

    // Short forms
    Node* add(Node* child) { return addChild(child); }
    Node* add(Node* child, int z) { return addChild(child, z); }
    Node* add(Node* child, int z, int tag) { return addChild(child, z, tag); }
    void remove(Node* child) { removeChild(child, false); }
    void removeAndStop(Node* child) { removeChild(child, true); }
    void removeByTag(int tag) { removeChildByTag(tag, false); }
    void removeAndStopByTag(int tag) { removeChildByTag(tag, true); }
    void removeAll() { removeAllChildrenWithCleanup(false); }
    void removeAndStopAll() { removeAllChildrenWithCleanup(true); }
    [[nodiscard]] Node* getByTag(int tag) const { return getChildByTag(tag); }

    // Actions: started at once, first stepped at the next run of the step timer.
    template <class A>
    Ref<A> runAction(Ref<A> action) {
        runActionNow(action.get());
        return action;
    }
    template <class A>
    Ref<A> do_(Ref<A> action) {
        return runAction(std::move(action));
    }
    void stopAction(Action* action);
    void stopAllActions();
    [[nodiscard]] Action* getActionByTag(int tag) const;
    void stopActionByTag(int tag);
    [[nodiscard]] int numberOfRunningActions() const;

    // Timers
    void schedule(Selector selector);
    void schedule(Selector selector, float interval);
    void unschedule(Selector selector);
    void unschedule(std::string_view name);
    [[nodiscard]] bool isScheduled(std::string_view name) const;

    // Properties: plain values, read at the next draw.
    [[nodiscard]] Point position() const { return position_; }
    void setPosition(Point position) { position_ = position; }
    [[nodiscard]] float rotation() const { return rotation_; }
    void setRotation(float degrees) { rotation_ = degrees; }
    [[nodiscard]] float scaleX() const { return scaleX_; }
    [[nodiscard]] float scaleY() const { return scaleY_; }
    void setScaleX(float s) { scaleX_ = s; }
    void setScaleY(float s) { scaleY_ = s; }
    void setScale(float s) { scaleX_ = scaleY_ = s; }
    [[nodiscard]] float scale() const;
    [[nodiscard]] bool visible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }
    [[nodiscard]] int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    [[nodiscard]] int zOrder() const { return zOrder_; }
    [[nodiscard]] Node* parent() const { return parent_; }
    [[nodiscard]] const std::vector<Ref<Node>>& children() const { return children_; }
    [[nodiscard]] bool isRunning() const { return isRunning_; }
    [[nodiscard]] Point transformAnchor() const { return transformAnchor_; }
    void setTransformAnchor(Point anchor) { transformAnchor_ = anchor; }
    [[nodiscard]] bool relativeTransformAnchor() const { return relativeTransformAnchor_; }
    void setRelativeTransformAnchor(bool relative) { relativeTransformAnchor_ = relative; }
    [[nodiscard]] float parallaxRatioX() const { return parallaxRatioX_; }
    [[nodiscard]] float parallaxRatioY() const { return parallaxRatioY_; }
    void setParallaxRatioX(float ratio) { parallaxRatioX_ = ratio; }
    void setParallaxRatioY(float ratio) { parallaxRatioY_ = ratio; }

    [[nodiscard]] virtual const char* className() const { return "Node"; }
    [[nodiscard]] std::string description() const;

  protected:
    Node();

  private:
    // The three action lists live and die together; the step holds them while it walks them so that an
    // action which cleans up its own node cannot pull them from under it.
    struct ActionLists : Object {
        std::vector<Ref<Action>> actions;
        std::vector<Ref<Action>> toRemove;
        std::vector<Ref<Action>> toAdd;
    };

    void insertChild(Node* child, int z);
    void detachChild(Node* child, bool cleanup);
    void runActionNow(Action* action);
    void step_(float dt);
    static const Selector kStepSelector;
    void activateTimers();
    void deactivateTimers();
    [[nodiscard]] Timer* findTimer(std::string_view name) const;

    float rotation_ = 0;
    float scaleX_ = 1;
    float scaleY_ = 1;
    Point position_;
    float parallaxRatioX_ = 1;
    float parallaxRatioY_ = 1;
    bool visible_ = true;
    int zOrder_ = 0;
    bool relativeTransformAnchor_ = true;
    Point transformAnchor_;
    std::vector<Ref<Node>> children_;
    bool isRunning_ = false;
    Node* parent_ = nullptr;
    int tag_ = -1;
    Ref<ActionLists> actionLists_;
    std::vector<Ref<Timer>> scheduledSelectors_;
};

// Gives a node kind its own `node()` constructor: `MenuScene::node()` makes a MenuScene.
#define QUINTORA_NODE(Class)                                                         \
  public:                                                                            \
    static ::quintora::Ref<Class> node() { return ::quintora::Node::make<Class>(); } \
    [[nodiscard]] const char* className() const override { return #Class; }          \
                                                                                     \
  private:                                                                           \
    friend class ::quintora::Node;

}  // namespace quintora
