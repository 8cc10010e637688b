#pragma once
// Touches as the GL view reports them: positions in the portrait view's coordinates, origin top left.
#include <vector>

#include "engine/Geometry.hpp"

namespace quintora {

struct Touch {
    long id = 0;
    Point location;  // in the GL view
    [[nodiscard]] Point locationInView() const { return location; }
};

using TouchSet = std::vector<Touch>;

struct TouchEvent {
    double timestamp = 0;
};

enum class TouchPhase { Began, Moved, Ended, Cancelled };

// A layer answers the touch kinds it cares for; true ends the dispatch of that event.
class TouchEventsDelegate {
  public:
    virtual ~TouchEventsDelegate() = default;
    virtual bool handleTouchesBegan(const TouchSet&, const TouchEvent&) { return false; }
    virtual bool handleTouchesMoved(const TouchSet&, const TouchEvent&) { return false; }
    virtual bool handleTouchesEnded(const TouchSet&, const TouchEvent&) { return false; }
    virtual bool handleTouchesCancelled(const TouchSet&, const TouchEvent&) { return false; }
    // A mouse wheel turned by `lines`, positive away from the player.
    virtual bool handleScroll(float /*lines*/) { return false; }
};

}  // namespace quintora
