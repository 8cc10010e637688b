#include "engine/Errors.hpp"

#include <cstdio>
#include <cstdlib>

namespace quintora {

void assertionFailed(const char* message, const char* file, int line) {
    std::fprintf(stderr, "Assertion failed: %s (%s:%d)\n", message, file, line);
    std::fflush(stderr);
    std::abort();
}

}  // namespace quintora
