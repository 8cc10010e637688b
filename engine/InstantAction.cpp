#include "engine/InstantAction.hpp"

#include "engine/Errors.hpp"

namespace quintora {

void InstantAction::step(float) { update(1); }

void InstantAction::update(float) {}

Ref<CallFunc> CallFunc::actionWithTarget(Object* target, CallSelector selector) {
    QASSERT(target != nullptr && selector, "Argument must be non-nil");
    Ref<CallFunc> action(new CallFunc(target));
    action->selector_ = selector;
    return action;
}

void CallFunc::start() {
    InstantAction::start();
    execute();
}

void CallFunc::execute() { selector_.method(callbackTarget_.get()); }

Ref<CallFuncN> CallFuncN::actionWithTarget(Object* target, NodeSelector selector) {
    QASSERT(target != nullptr && selector, "Argument must be non-nil");
    Ref<CallFuncN> action(new CallFuncN(target));
    action->nodeSelector_ = selector;
    return action;
}

void CallFuncN::execute() { nodeSelector_.method(callbackTarget_.get(), target()); }

Ref<Action> CallFunc::copy() const { return actionWithTarget(callbackTarget_.get(), selector_); }
Ref<Action> CallFuncN::copy() const { return actionWithTarget(callbackTarget_.get(), nodeSelector_); }

}  // namespace quintora
