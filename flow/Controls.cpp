#include "flow/Controls.hpp"

namespace quintora {
namespace {
bool controllerLastUsed = false;
}  // namespace

bool controllerInUse() { return controllerLastUsed; }

void setControllerInUse(bool inUse) { controllerLastUsed = inUse; }

}  // namespace quintora
