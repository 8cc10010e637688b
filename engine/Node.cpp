#include "engine/Node.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/Action.hpp"
#include "engine/Errors.hpp"
#include "engine/Matrix.hpp"
#include "engine/Scheduler.hpp"

namespace quintora {
namespace {

template <class List, class Item>
bool contains(const List& list, const Item* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

template <class List, class Item>
void eraseFirst(List& list, const Item* item) {
    auto found = std::find(list.begin(), list.end(), item);
    if (found != list.end()) list.erase(found);
}

}  // namespace

const Selector Node::kStepSelector = QSEL(Node, step_);

Node::Node() = default;

Node::~Node() {
    for (Ref<Node>& child : children_) {
        child->parent_ = nullptr;
        child->cleanup();
    }
}

float Node::scale() const {
    QASSERT(scaleX_ == scaleY_, "scaleX is different from scaleY");
    return scaleX_;
}

std::string Node::description() const {
    char text[128];
    std::snprintf(text, sizeof text, "<%s = %08lX | Tag = %i>", className(),
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(this)), tag_);
    return text;
}

// Children

Node* Node::addChild(Node* child, int z, int tag) {
    QASSERT(child != nullptr, "Argument must be non-nil");
    QASSERT(child->parent_ == nullptr, "child already added. It can't be added again");
    insertChild(child, z);
    child->tag_ = tag;
    child->parent_ = this;
    if (isRunning_) child->onEnter();
    return this;
}

Node* Node::addChild(Node* child, int z) {
    QASSERT(child != nullptr, "Argument must be non-nil");
    return addChild(child, z, child->tag_);
}

Node* Node::addChild(Node* child) {
    QASSERT(child != nullptr, "Argument must be non-nil");
    return addChild(child, child->zOrder_, child->tag_);
}

void Node::insertChild(Node* child, int z) {
    // In front of the first child with a greater z: equal z keeps the order of addition.
    auto place = std::find_if(children_.begin(), children_.end(),
                              [z](const Ref<Node>& sibling) { return sibling->zOrder_ > z; });
    children_.insert(place, Ref<Node>(child));
    child->zOrder_ = z;
}

void Node::removeChild(Node* child, bool cleanup) {
    if (child == nullptr || !contains(children_, child)) return;
    detachChild(child, cleanup);
}

void Node::detachChild(Node* child, bool cleanup) {
    Ref<Node> keep(child);
    child->parent_ = nullptr;
    if (isRunning_) child->onExit();
    if (cleanup) child->cleanup();
    eraseFirst(children_, child);
}

void Node::removeAllChildrenWithCleanup(bool cleanup) {
    // Walk a copy: an onExit may add or remove nodes.
    const std::vector<Ref<Node>> leaving = children_;
    for (const Ref<Node>& child : leaving) {
        if (isRunning_) child->onExit();
        if (cleanup) child->cleanup();
        child->parent_ = nullptr;
    }
    children_.clear();
}

Node* Node::getChildByTag(int tag) const {
    QASSERT(tag != -1, "Invalid tag");
    for (const Ref<Node>& child : children_) {
        if (child->tag_ == tag) return child.get();
    }
    return nullptr;
}

void Node::removeChildByTag(int tag, bool cleanup) {
    QASSERT(tag != -1, "Invalid tag");
    if (Node* child = getChildByTag(tag)) detachChild(child, cleanup);
}

void Node::reorderChild(Node* child, int z) {
    QASSERT(child != nullptr, "Child must be non-nil");
    Ref<Node> keep(child);
    eraseFirst(children_, child);
    insertChild(child, z);
}

// Drawing

void Node::visit() {
    if (!visible_) return;
    MatrixStack& stack = modelView();
    stack.push();
    transform();
    std::size_t i = 0;
    for (; i < children_.size() && children_[i]->zOrder_ < 0; ++i) children_[i]->visit();
    draw();
    for (; i < children_.size(); ++i) children_[i]->visit();
    stack.pop();
}

void Node::transform() {
    Mat4& m = modelView().top();
    Point offset;
    if ((parallaxRatioX_ != 1 || parallaxRatioY_ != 1) && parent_ != nullptr) {
        offset.x = parent_->position_.x * parallaxRatioX_ - parent_->position_.x;
        offset.y = parent_->position_.y * parallaxRatioY_ - parent_->position_.y;
    }
    const Point anchor = transformAnchor_;
    const bool hasAnchor = anchor.x != 0 || anchor.y != 0;

    if (relativeTransformAnchor_ && hasAnchor) m.translate(offset.x - anchor.x, offset.y - anchor.y);
    if (!hasAnchor) {
        const Point moved = position_ + offset;
        if (moved.x != 0 || moved.y != 0) m.translate(moved.x, moved.y);
    } else {
        m.translate(position_.x + anchor.x + offset.x, position_.y + anchor.y + offset.y);
    }
    if (rotation_ != 0) m.rotateZ(-rotation_);
    if (scaleX_ != 1 || scaleY_ != 1) m.scale(scaleX_, scaleY_, 1);
    if (hasAnchor) m.translate(offset.x - anchor.x, offset.y - anchor.y);
}

// Life cycle

void Node::onEnter() {
    for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->onEnter();
    activateTimers();
    isRunning_ = true;
}

void Node::onExit() {
    deactivateTimers();
    isRunning_ = false;
    for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->onExit();
}

void Node::cleanup() {
    actionLists_ = nullptr;
    scheduledSelectors_.clear();
    for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->cleanup();
}

// Actions

void Node::runActionNow(Action* action) {
    QASSERT(action != nullptr, "Argument must be non-nil");
    if (!actionLists_) {
        actionLists_ = Ref<ActionLists>(new ActionLists());
        actionLists_->actions.reserve(4);
        actionLists_->toRemove.reserve(4);
        actionLists_->toAdd.reserve(4);
    }
    ActionLists& lists = *actionLists_;
    QASSERT(!contains(lists.toAdd, action), "Action already sheduled to run");
    if (contains(lists.actions, action)) {
        QASSERT(contains(lists.toRemove, action), "Action already running");
        // Stopped but not yet gone: it simply carries on, without a restart.
        eraseFirst(lists.toRemove, action);
        return;
    }
    action->setTarget(this);
    action->start();
    lists.toAdd.emplace_back(action);
    schedule(kStepSelector, 0);
}

void Node::stopAction(Action* action) {
    if (!actionLists_ || action == nullptr) return;
    ActionLists& lists = *actionLists_;
    if (contains(lists.toAdd, action)) {
        eraseFirst(lists.toAdd, action);
    } else if (contains(lists.actions, action) && !contains(lists.toRemove, action)) {
        lists.toRemove.emplace_back(action);
    }
}

void Node::stopAllActions() {
    if (!actionLists_) return;
    ActionLists& lists = *actionLists_;
    lists.toAdd.clear();
    lists.toRemove = lists.actions;
}

Action* Node::getActionByTag(int tag) const {
    QASSERT(tag != -1, "Invalid tag");
    if (!actionLists_) return nullptr;
    for (const auto* list : {&actionLists_->actions, &actionLists_->toAdd}) {
        for (const Ref<Action>& action : *list) {
            if (action->tag() == tag && !contains(actionLists_->toRemove, action.get())) return action.get();
        }
    }
    return nullptr;
}

void Node::stopActionByTag(int tag) {
    if (Action* action = getActionByTag(tag)) stopAction(action);
}

int Node::numberOfRunningActions() const {
    if (!actionLists_) return 0;
    return static_cast<int>(actionLists_->actions.size() + actionLists_->toAdd.size() -
                            actionLists_->toRemove.size());
}

void Node::step_(float dt) {
    if (!actionLists_) return;  // cleaned up while its timer was still queued for this tick
    Ref<ActionLists> lists = actionLists_;
    std::vector<Ref<Action>>& actions = lists->actions;
    if (!lists->toRemove.empty()) {
        std::erase_if(actions, [&](const Ref<Action>& a) { return contains(lists->toRemove, a.get()); });
        lists->toRemove.clear();
    }
    if (!lists->toAdd.empty()) {
        actions.insert(actions.end(), lists->toAdd.begin(), lists->toAdd.end());
        lists->toAdd.clear();
    }
    if (actions.empty()) {
        unschedule(kStepSelector);
        return;
    }
    // Only step_ changes `actions`; everything an action does meanwhile goes to the pending lists.
    for (std::size_t i = 0; i < actions.size(); ++i) {
        Action* action = actions[i].get();
        action->step(dt);
        if (actionLists_ != lists) break;
        if (action->isDone()) {
            action->stop();
            lists->toRemove.push_back(actions[i]);
        }
    }
}

// Timers

Timer* Node::findTimer(std::string_view name) const {
    for (const Ref<Timer>& timer : scheduledSelectors_) {
        if (timer->selector().name == name) return timer.get();
    }
    return nullptr;
}

bool Node::isScheduled(std::string_view name) const { return findTimer(name) != nullptr; }

void Node::schedule(Selector selector) { schedule(selector, 0); }

void Node::schedule(Selector selector, float interval) {
    QASSERT(static_cast<bool>(selector), "Argument must be non-nil");
    QASSERT(!std::isnan(interval) && interval >= 0, "Arguemnt must be positive");
    if (scheduledSelectors_.empty()) scheduledSelectors_.reserve(2);
    if (findTimer(selector.name) != nullptr) return;
    Ref<Timer> timer = Timer::timerWithTarget(this, selector, interval);
    if (isRunning_) Scheduler::sharedScheduler().scheduleTimer(timer.get());
    scheduledSelectors_.push_back(std::move(timer));
}

void Node::unschedule(Selector selector) {
    if (!selector) return;
    unschedule(selector.name);
}

void Node::unschedule(std::string_view name) {
    auto found = std::find_if(scheduledSelectors_.begin(), scheduledSelectors_.end(),
                              [name](const Ref<Timer>& timer) { return timer->selector().name == name; });
    if (found == scheduledSelectors_.end()) return;
    Ref<Timer> timer = *found;
    scheduledSelectors_.erase(found);
    if (isRunning_) Scheduler::sharedScheduler().unscheduleTimer(timer.get());
}

void Node::activateTimers() {
    for (const Ref<Timer>& timer : scheduledSelectors_)
        Scheduler::sharedScheduler().scheduleTimer(timer.get());
}

void Node::deactivateTimers() {
    for (const Ref<Timer>& timer : scheduledSelectors_)
        Scheduler::sharedScheduler().unscheduleTimer(timer.get());
}

}  // namespace quintora
