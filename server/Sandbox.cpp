#include "server/Sandbox.hpp"

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/landlock.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <seccomp.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace quintora::server {

namespace {

constexpr int kPollSliceMs = 100;

class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;
    [[nodiscard]] int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_ = -1;
};

struct Pipe {
    Descriptor read, write;
};

Pipe makePipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    return {Descriptor(fds[0]), Descriptor(fds[1])};
}

// The network filter as a BPF program. Made once with libseccomp, before any fork: libseccomp allocates,
// which a child of a threaded process must not do. Every family of socket but a local one is refused, and
// so are connecting, binding, listening and accepting; io_uring too, whose requests open and connect
// sockets without passing through these system calls.
const std::vector<sock_filter>& networkFilter() {
    static const std::vector<sock_filter> program = [] {
        scmp_filter_ctx context = seccomp_init(SCMP_ACT_ALLOW);
        if (context == nullptr) throw std::runtime_error("cannot make the verifier's network filter");
        const std::uint32_t refuse = SCMP_ACT_ERRNO(EACCES);
        const scmp_arg_cmp notLocal{0, SCMP_CMP_NE, AF_UNIX, 0};
        int failed = seccomp_rule_add_array(context, refuse, SCMP_SYS(socket), 1, &notLocal);
        for (const int call :
             {SCMP_SYS(connect), SCMP_SYS(bind), SCMP_SYS(listen), SCMP_SYS(accept), SCMP_SYS(accept4),
              SCMP_SYS(io_uring_setup), SCMP_SYS(io_uring_enter), SCMP_SYS(io_uring_register)}) {
            failed = failed != 0 ? failed : seccomp_rule_add(context, refuse, call, 0);
        }
        const Descriptor memory(::memfd_create("network-filter", MFD_CLOEXEC));
        failed = failed != 0 ? failed : seccomp_export_bpf(context, memory.get());
        seccomp_release(context);
        const off_t size = ::lseek(memory.get(), 0, SEEK_END);
        std::vector<sock_filter> instructions(size > 0 ? static_cast<std::size_t>(size) / sizeof(sock_filter)
                                                       : 0);
        const auto bytes = static_cast<ssize_t>(instructions.size() * sizeof(sock_filter));
        if (failed != 0 || instructions.empty() ||
            ::pread(memory.get(), instructions.data(), bytes, 0) != bytes)
            throw std::runtime_error("cannot make the verifier's network filter");
        return instructions;
    }();
    return program;
}

// Refuses the calling process and its children every change to the file system: no file is opened for
// writing, made, removed or renamed, while reading stays allowed. The kernel's Landlock does this without
// privileges; where it is missing (or a service manager's own filter refuses it), the file-size limit of 0
// still keeps every file empty. Safe after fork.
bool forbidFileChanges() {
    const landlock_ruleset_attr ruleset{LANDLOCK_ACCESS_FS_WRITE_FILE | LANDLOCK_ACCESS_FS_REMOVE_DIR |
                                        LANDLOCK_ACCESS_FS_REMOVE_FILE | LANDLOCK_ACCESS_FS_MAKE_CHAR |
                                        LANDLOCK_ACCESS_FS_MAKE_DIR | LANDLOCK_ACCESS_FS_MAKE_REG |
                                        LANDLOCK_ACCESS_FS_MAKE_SOCK | LANDLOCK_ACCESS_FS_MAKE_FIFO |
                                        LANDLOCK_ACCESS_FS_MAKE_BLOCK | LANDLOCK_ACCESS_FS_MAKE_SYM};
    const auto fd = static_cast<int>(::syscall(SYS_landlock_create_ruleset, &ruleset, sizeof ruleset, 0U));
    if (fd < 0) return errno == ENOSYS || errno == EOPNOTSUPP || errno == EPERM;
    const bool restricted = ::syscall(SYS_landlock_restrict_self, fd, 0U) == 0;
    ::close(fd);
    return restricted;
}

// In the child, between fork and exec: only calls that are safe after forking a threaded process. Any
// failure is reported through `errors` (close-on-exec, so it reads nothing once the program runs).
[[noreturn]] void becomeSandboxed(const char* program, char* const* argv, const SandboxLimits& limits,
                                  int input, int output, int discard, int errors, const sock_fprog& filter) {
    ::setpgid(0, 0);
    ::dup2(input, STDIN_FILENO);
    ::dup2(output, STDOUT_FILENO);
    ::dup2(discard, STDERR_FILENO);
    ::dup2(errors, 3);
    ::fcntl(3, F_SETFD, FD_CLOEXEC);
    ::syscall(SYS_close_range, 4U, ~0U, 0U);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &byDefault, nullptr);
    ::setpriority(PRIO_PROCESS, 0, limits.niceness);
    const auto limit = [](int resource, rlim_t soft, rlim_t hard) {
        const rlimit value{soft, hard};
        return ::setrlimit(resource, &value) == 0;
    };
    char* const noEnvironment[] = {nullptr};
    // A second of CPU past the soft limit's SIGXCPU, then the kernel kills it.
    if (limit(RLIMIT_CPU, limits.cpuSeconds, limits.cpuSeconds + 1) &&
        limit(RLIMIT_AS, limits.memoryBytes, limits.memoryBytes) && limit(RLIMIT_FSIZE, 0, 0) &&
        limit(RLIMIT_NOFILE, limits.openFiles, limits.openFiles) && limit(RLIMIT_CORE, 0, 0) &&
        ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && forbidFileChanges() &&
        ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0) {
        ::execve(program, argv, noEnvironment);
    }
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(3, &error, sizeof error);
    ::_exit(127);
}

// Blocks SIGPIPE on the calling thread while it lives, so that writing to a verifier that stopped reading
// fails with EPIPE instead of ending the server; a SIGPIPE raised meanwhile is taken before unblocking.
class PipeSignalBlocked {
  public:
    PipeSignalBlocked() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        ::pthread_sigmask(SIG_BLOCK, &pipe_, &before_);
    }
    ~PipeSignalBlocked() {
        const timespec now{0, 0};
        while (::sigtimedwait(&pipe_, nullptr, &now) == SIGPIPE) {
        }
        ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    }
    PipeSignalBlocked(const PipeSignalBlocked&) = delete;
    PipeSignalBlocked& operator=(const PipeSignalBlocked&) = delete;

  private:
    sigset_t pipe_{}, before_{};
};

// Feeds the input and collects the output until the child exits, a limit ends it, or `stop` is set.
SandboxResult::End feedAndCollect(Descriptor& input, Descriptor& output, int exited, std::string_view pending,
                                  std::string& collected, const SandboxLimits& limits,
                                  const std::atomic<bool>& stop) {
    ::fcntl(input.get(), F_SETFL, O_NONBLOCK);
    ::fcntl(output.get(), F_SETFL, O_NONBLOCK);
    const auto deadline = std::chrono::steady_clock::now() + limits.wallClock;
    char buffer[4096];
    for (;;) {
        if (pending.empty()) input.reset();
        if (stop) return SandboxResult::End::Stopped;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return SandboxResult::End::TimedOut;
        // A closed descriptor is -1, which poll passes over.
        pollfd watched[] = {{exited, POLLIN, 0}, {output.get(), POLLIN, 0}, {input.get(), POLLOUT, 0}};
        ::poll(watched, 3, static_cast<int>(std::min<std::int64_t>(left.count(), kPollSliceMs)));
        if (watched[2].revents != 0) {
            const ssize_t written = ::write(input.get(), pending.data(), pending.size());
            if (written > 0) pending.remove_prefix(static_cast<std::size_t>(written));
            if (written < 0 && errno != EAGAIN) pending = {};  // it stopped reading: its answer will tell
        }
        // Once the child has exited, what it wrote is read as far as there is any: a process it left
        // behind may hold the pipe open, so no end of it is awaited.
        const bool hasExited = watched[0].revents != 0;
        if (watched[1].revents != 0 || (hasExited && output.get() >= 0)) {
            ssize_t got = 0;
            while ((got = ::read(output.get(), buffer, sizeof buffer)) > 0) {
                collected.append(buffer, static_cast<std::size_t>(got));
                if (collected.size() > limits.maxOutput) {
                    collected.resize(limits.maxOutput);
                    return SandboxResult::End::OutputTooLong;
                }
            }
            if (got == 0) output.reset();
        }
        if (hasExited) return SandboxResult::End::Exited;
    }
}

}  // namespace

SandboxResult runSandboxed(const std::string& program, const std::vector<std::string>& arguments,
                           std::string_view input, const SandboxLimits& limits,
                           const std::atomic<bool>& stop) {
    const std::vector<sock_filter>& instructions = networkFilter();
    const sock_fprog filter{static_cast<unsigned short>(instructions.size()),
                            const_cast<sock_filter*>(instructions.data())};
    std::vector<std::string> texts{program};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);
    Pipe toChild = makePipe(), fromChild = makePipe(), errors = makePipe();
    const Descriptor discard(::open("/dev/null", O_WRONLY | O_CLOEXEC));
    const PipeSignalBlocked pipeSignal;

    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) {
        becomeSandboxed(program.c_str(), argv.data(), limits, toChild.read.get(), fromChild.write.get(),
                        discard.get(), errors.write.get(), filter);
    }
    ::setpgid(pid, pid);  // as the child does, so that the group exists whichever of the two runs first
    toChild.read.reset();
    fromChild.write.reset();
    errors.write.reset();

    SandboxResult result;
    int error = 0;
    if (::read(errors.read.get(), &error, sizeof error) == sizeof error) {
        result.status = error;  // End::NotStarted
    } else {
        const Descriptor exited(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
        result.end =
            feedAndCollect(toChild.write, fromChild.read, exited.get(), input, result.output, limits, stop);
    }
    // Whatever it left running goes with it; the group lives on while its leader is not yet waited for.
    ::kill(-pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (result.end == SandboxResult::End::Exited) {
        result.end = WIFSIGNALED(status) ? SandboxResult::End::Signalled : SandboxResult::End::Exited;
        result.status = WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status);
    }
    return result;
}

}  // namespace quintora::server
