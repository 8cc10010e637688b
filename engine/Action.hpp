#pragma once
// An action changes one property of its target node over time. The node starts it when it is run, steps
// it once per frame and stops it once it says it is done.
#include <cstdint>

#include "engine/Object.hpp"

namespace quintora {

class Node;

// What colour and fade actions need of their target: sprites and labels have it.
class RGBAProtocol {
  public:
    virtual ~RGBAProtocol() = default;
    virtual void setRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
    [[nodiscard]] virtual std::uint8_t r() const = 0;
    [[nodiscard]] virtual std::uint8_t g() const = 0;
    [[nodiscard]] virtual std::uint8_t b() const = 0;
    virtual void setOpacity(std::uint8_t opacity) = 0;
    [[nodiscard]] virtual std::uint8_t opacity() const = 0;
};

class Action : public Object {
  public:
    virtual void start() {}
    virtual void stop() {}
    [[nodiscard]] virtual bool isDone() const { return true; }
    virtual void step(float dt);
    virtual void update(float t);
    // A fresh, unstarted action with the same parameters; combined actions copy their parts.
    [[nodiscard]] virtual Ref<Action> copy() const = 0;

    [[nodiscard]] Node* target() const { return target_; }
    void setTarget(Node* target) { target_ = target; }
    [[nodiscard]] int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

  protected:
    Action() = default;
    // The target as something with a colour and an opacity; stops the program when it has none.
    [[nodiscard]] RGBAProtocol& colouredTarget() const;

  private:
    Node* target_ = nullptr;  // not owned: the target owns its actions
    int tag_ = -1;
};

// An action with a known duration: instant ones (0) and interval ones. Sequences and spawns combine these.
class FiniteTimeAction : public Action {
  public:
    [[nodiscard]] float duration() const { return duration_; }

  protected:
    explicit FiniteTimeAction(float duration) : duration_(duration) {}
    float duration_;
};

// A copy of an action as the kind it is known as.
template <class A>
[[nodiscard]] Ref<A> copyOf(const A& action) {
    return Ref<A>(static_cast<A*>(action.copy().get()));
}

}  // namespace quintora
