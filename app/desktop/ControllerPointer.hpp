#pragma once
// The cross a game controller's right stick moves, drawn above every scene while the stick is in use.
#include "engine/Geometry.hpp"
#include "engine/Node.hpp"

namespace quintora {

class ControllerPointer {
  public:
    // Shows the cross at a scene point, or takes it away.
    void update(bool shown, Point at);

  private:
    Ref<Node> cross_;
};

}  // namespace quintora
