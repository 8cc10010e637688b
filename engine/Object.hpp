#pragma once
// Reference counting for everything the engine shares: a parent owns its children, a node owns its
// actions and timers, a timer keeps its target alive. Objects start with no owner; the first Ref takes
// ownership, so `Ref<Node> node = Node::node();` is the whole ceremony.
#include <concepts>
#include <cstddef>
#include <utility>

namespace quintora {

class Object {
  public:
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    void retain() noexcept { ++refCount_; }
    void release() noexcept {
        if (--refCount_ == 0) delete this;
    }
    [[nodiscard]] int retainCount() const noexcept { return refCount_; }

  protected:
    Object() = default;

  private:
    int refCount_ = 0;
};

template <class T>
class Ref {
  public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    Ref(T* object) noexcept : p_(object) {
        if (p_) p_->retain();
    }
    Ref(const Ref& other) noexcept : Ref(other.p_) {}
    Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U>
    requires std::convertible_to<U*, T*> Ref(const Ref<U>& other)
    noexcept : Ref(other.get()) {}
    template <class U>
    requires std::convertible_to<U*, T*> Ref(Ref<U>&& other)
    noexcept : p_(other.detach()) {}
    ~Ref() {
        if (p_) p_->release();
    }

    Ref& operator=(Ref other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }

    [[nodiscard]] T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // Gives up ownership without releasing; used only by the converting move.
    [[nodiscard]] T* detach() noexcept { return std::exchange(p_, nullptr); }

    friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }
    friend bool operator==(const Ref& a, const T* b) noexcept { return a.p_ == b; }
    friend bool operator==(const Ref& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

  private:
    T* p_ = nullptr;
};

// A checked downcast for the rare places that know more than the static type says.
template <class T, class U>
Ref<T> dynamicRefCast(const Ref<U>& from) {
    return Ref<T>(dynamic_cast<T*>(from.get()));
}

}  // namespace quintora
