#include "platform/DeviceIdentifier.hpp"

#include <uuid/uuid.h>

#include "platform/UserDefaults.hpp"

namespace quintora::platform {
namespace {

constexpr const char* kDeviceIdentifierKey = "DeviceIdentifier";

std::string lowerCaseText(const uuid_t uuid) {
    char text[37];
    uuid_unparse_lower(uuid, text);
    return text;
}

// A stored value is trusted only as the identifier this file would have made: anything else (edited by
// hand, damaged) is replaced.
bool isDeviceIdentifier(const std::string& text) {
    uuid_t uuid;
    return uuid_parse(text.c_str(), uuid) == 0 && uuid_type(uuid) == UUID_TYPE_DCE_RANDOM &&
           uuid_variant(uuid) == UUID_VARIANT_DCE && lowerCaseText(uuid) == text;
}

}  // namespace

std::string deviceIdentifier(UserDefaults& defaults) {
    if (auto stored = defaults.stringForKey(kDeviceIdentifierKey); stored && isDeviceIdentifier(*stored)) {
        return *stored;
    }
    uuid_t uuid;
    uuid_generate_random(uuid);
    std::string identifier = lowerCaseText(uuid);
    // Kept in memory when the store cannot be written, so it stays the same for the rest of the session.
    (void)defaults.setObject(identifier, kDeviceIdentifierKey);
    (void)defaults.synchronize();
    return identifier;
}

std::string deviceIdentifier() { return deviceIdentifier(UserDefaults::standardUserDefaults()); }

}  // namespace quintora::platform
