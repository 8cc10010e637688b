#include "engine/Action.hpp"

#include "engine/Errors.hpp"
#include "engine/Node.hpp"
#include "platform/Log.hpp"

namespace quintora {

void Action::step(float) { platform::log("[Action step]. override me"); }

void Action::update(float) { platform::log("[Action update]. override me"); }

RGBAProtocol& Action::colouredTarget() const {
    auto* coloured = dynamic_cast<RGBAProtocol*>(target_);
    QASSERT(coloured != nullptr, "Action target must have a colour and an opacity");
    return *coloured;
}

}  // namespace quintora
