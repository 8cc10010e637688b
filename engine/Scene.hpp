#pragma once
#include "engine/Node.hpp"

namespace quintora {

// The root of a screen; the director runs one at a time.
class Scene : public Node {
    QUINTORA_NODE(Scene)
  public:
    void init() override;

  protected:
    Scene() = default;
};

}  // namespace quintora
