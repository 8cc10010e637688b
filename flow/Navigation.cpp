#include "flow/Navigation.hpp"

#include "engine/Errors.hpp"

namespace quintora {
namespace {

const Navigation* current = nullptr;

}  // namespace

void setNavigation(const Navigation* navigation) { current = navigation; }

const Navigation& navigation() {
    QASSERT(current != nullptr, "no navigation was set before a run started");
    return *current;
}

}  // namespace quintora
