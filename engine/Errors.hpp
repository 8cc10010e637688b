#pragma once
// Two kinds of failure. A programming error (a nil argument, a child added twice) stops the program with
// a message saying what went wrong: QASSERT. A failure of the platform underneath (no GL view, no clock)
// is thrown as an EngineException carrying a name and a reason; nothing in the program catches it.
#include <stdexcept>
#include <string>

namespace quintora {

class EngineException : public std::runtime_error {
  public:
    EngineException(std::string name, std::string reason)
        : std::runtime_error(name + ": " + reason), name_(std::move(name)), reason_(std::move(reason)) {}

    [[nodiscard]] const std::string& name() const noexcept { return name_; }
    [[nodiscard]] const std::string& reason() const noexcept { return reason_; }

  private:
    std::string name_;
    std::string reason_;
};

[[noreturn]] void assertionFailed(const char* message, const char* file, int line);

}  // namespace quintora

#define QASSERT(condition, message)                                                 \
    do {                                                                            \
        if (!(condition)) ::quintora::assertionFailed(message, __FILE__, __LINE__); \
    } while (false)
