#pragma once
// Actions that happen at one moment: done as soon as they are stepped.
#include "engine/Action.hpp"
#include "engine/Selector.hpp"

namespace quintora {

class InstantAction : public FiniteTimeAction {
  public:
    [[nodiscard]] bool isDone() const override { return true; }
    void step(float dt) override;
    void update(float t) override;

  protected:
    InstantAction() : FiniteTimeAction(0) {}
};

// Calls a method of an object, which it keeps alive, when it starts.
class CallFunc : public InstantAction {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<CallFunc> actionWithTarget(Object* target, CallSelector selector);
    void start() override;

  protected:
    explicit CallFunc(Object* callbackTarget) : callbackTarget_(callbackTarget) {}
    virtual void execute();
    Ref<Object> callbackTarget_;

  private:
    CallSelector selector_;
};

// As CallFunc, with the node the action runs on as the argument.
class CallFuncN : public CallFunc {
  public:
    [[nodiscard]] Ref<Action> copy() const override;
    static Ref<CallFuncN> actionWithTarget(Object* target, NodeSelector selector);

  protected:
    void execute() override;

  private:
    explicit CallFuncN(Object* callbackTarget) : CallFunc(callbackTarget) {}
    NodeSelector nodeSelector_;
};

}  // namespace quintora
