#include "platform/ChildProcess.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

namespace quintora::platform {

std::unique_ptr<ChildProcess> ChildProcess::start(const std::string& program,
                                                  const std::vector<std::string>& arguments,
                                                  const std::string& outputFile, std::string* error) {
    auto fail = [&](const std::string& why) -> std::unique_ptr<ChildProcess> {
        if (error) *error = why;
        return nullptr;
    };
    if (::access(program.c_str(), X_OK) != 0) return fail(program + ": " + std::strerror(errno));
    const int output = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (output < 0) return fail(outputFile + ": " + std::strerror(errno));

    // Everything the child needs is made before fork: the game has threads, so the child may only make
    // async-signal-safe calls until it runs the program.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();

    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(output);
        return fail(std::string("fork: ") + std::strerror(errno));
    }
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(127);  // the game died before the line above took effect
        ::dup2(output, STDOUT_FILENO);
        ::dup2(output, STDERR_FILENO);
        const int nothing = ::open("/dev/null", O_RDONLY);
        if (nothing >= 0) ::dup2(nothing, STDIN_FILENO);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(output);
    return std::unique_ptr<ChildProcess>(new ChildProcess(pid));
}

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::isRunning() {
    if (ended_) return false;
    int status = 0;
    const pid_t result = ::waitpid(pid_, &status, WNOHANG);
    if (result == pid_ || (result < 0 && errno == ECHILD)) ended_ = true;
    return !ended_;
}

void ChildProcess::stop() {
    if (!isRunning()) return;
    ::kill(pid_, SIGTERM);
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + seconds(2);
    while (isRunning() && steady_clock::now() < deadline) std::this_thread::sleep_for(milliseconds(10));
    if (!isRunning()) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    ended_ = true;
}

std::string executableDirectory() {
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? std::string() : self.parent_path().string();
}

}  // namespace quintora::platform
