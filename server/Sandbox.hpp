#pragma once
// Runs an untrusted program's work on untrusted input in a process of its own with as little as it needs:
// an empty environment, only its standard input and output, limits on its CPU time, memory, files and
// wall-clock time, lowered priority, and no network. Its whole process group is killed when it ends.
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quintora::server {

struct SandboxLimits {
    std::chrono::milliseconds wallClock{60'000};
    rlim_t cpuSeconds = 30;
    // Address space. The game's verifier opens Mesa's software renderer, which maps about 300 MiB on two
    // cores (and a thread stack more per core, up to 32): RLIMIT_AS holds it with room to spare.
#ifdef __SANITIZE_ADDRESS__
    // A sanitizer build's verifier (built with the server) reserves terabytes of shadow addresses: the CPU
    // and wall-clock limits bound it there.
    rlim_t memoryBytes = RLIM_INFINITY;
#else
    rlim_t memoryBytes = rlim_t{1} << 30;
#endif
    rlim_t openFiles = 32;
    std::size_t maxOutput = 4096;  // bytes of standard output; more ends the run
    int niceness = 10;             // so that the server's own threads keep their priority
};

struct SandboxResult {
    enum class End {
        Exited,         // `status` is the exit status
        Signalled,      // `status` is the signal
        TimedOut,       // past the wall-clock limit
        OutputTooLong,  // wrote more than maxOutput
        NotStarted,     // the program could not be executed; `status` is the errno
        Stopped,        // the caller asked it to stop
    };
    End end = End::NotStarted;
    int status = 0;
    std::string output;  // standard output, at most maxOutput bytes
};

// Runs `program` with `arguments`, writes `input` to its standard input and closes it, and collects its
// standard output until it exits or a limit ends it; standard error goes to /dev/null. Safe from many
// threads at once. Checks `stop` several times a second. Throws std::runtime_error only when the process
// cannot even be forked or its network filter made.
[[nodiscard]] SandboxResult runSandboxed(const std::string& program,
                                         const std::vector<std::string>& arguments, std::string_view input,
                                         const SandboxLimits& limits, const std::atomic<bool>& stop);

}  // namespace quintora::server
