#pragma once
// A helper program the game runs beside itself: started with its output going to a file, stopped when the
// owner is done with it, and ended by the system too should the game die without stopping it.
#include <memory>
#include <string>
#include <vector>

namespace quintora::platform {

class ChildProcess {
  public:
    // Starts the program with the arguments, its standard output and error written to outputFile (made
    // anew). Nothing when it cannot be started; `error` (when given) then says why.
    [[nodiscard]] static std::unique_ptr<ChildProcess> start(const std::string& program,
                                                             const std::vector<std::string>& arguments,
                                                             const std::string& outputFile,
                                                             std::string* error);
    // Stops the program.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // False once the program has ended.
    [[nodiscard]] bool isRunning();
    // Asks the program to end, and makes it end if it has not within two seconds.
    void stop();

  private:
    explicit ChildProcess(int pid) : pid_(pid) {}
    int pid_;
    bool ended_ = false;
};

// The folder of the running program's own file.
[[nodiscard]] std::string executableDirectory();

}  // namespace quintora::platform
