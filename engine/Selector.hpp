#pragma once
// A method named by its name. Timers are kept by name, so scheduling the same method twice finds the
// first timer and unscheduling needs only the name; the function pointer is resolved once, when the
// selector is made.
#include <string_view>

namespace quintora {

class Object;
class Node;

template <class Signature>
struct BasicSelector {
    std::string_view name;
    Signature* method = nullptr;
    explicit operator bool() const { return method != nullptr; }
};

using Selector = BasicSelector<void(Object* target, float dt)>;        // a timer's method
using CallSelector = BasicSelector<void(Object* target)>;              // a call-back without argument
using NodeSelector = BasicSelector<void(Object* target, Node* node)>;  // a call-back given the node

}  // namespace quintora

// QSEL(MenuLayer, Timecount) names MenuLayer::Timecount(float dt) as a timer method.
#define QSEL(Class, method)                                                                                \
    ::quintora::Selector {                                                                                 \
#method ":",                                                                                       \
            [](::quintora::Object * receiver_, float dt_) { static_cast<Class*>(receiver_)->method(dt_); } \
    }
// QCALL(Class, method) names Class::method() for CallFunc.
#define QCALL(Class, method)                                                                      \
    ::quintora::CallSelector {                                                                    \
#method, [](::quintora::Object * receiver_) { static_cast<Class*>(receiver_)->method(); } \
    }
// QCALLN(Class, method) names Class::method(Node*) for CallFuncN.
#define QCALLN(Class, method)                                                                            \
    ::quintora::NodeSelector {                                                                           \
#method ":", [](::quintora::Object * receiver_,                                                  \
                        ::quintora::Node * sender_) { static_cast<Class*>(receiver_)->method(sender_); } \
    }
