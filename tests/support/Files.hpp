#pragma once
// Files in tests: reading one whole, and catching the diagnostic log in one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Log.hpp"

namespace quintora::testing {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Routes the diagnostic log into a file for as long as it lives.
class CapturedLog {
  public:
    CapturedLog()
        : CapturedLog(std::filesystem::temp_directory_path() /
                      ("quintora-log-" + std::to_string(::getpid()))) {}
    explicit CapturedLog(std::filesystem::path file) : file_(std::move(file)) {
        EXPECT_TRUE(platform::openLog(file_.string()));
    }
    ~CapturedLog() {
        platform::closeLog();
        std::error_code ignored;
        std::filesystem::remove(file_, ignored);
    }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    // The whole log as written so far.
    [[nodiscard]] std::string text() const { return readFile(file_); }
    // Each line as written: "<frame> <text>".
    [[nodiscard]] std::vector<std::string> lines() const {
        std::ifstream in(file_);
        std::vector<std::string> result;
        for (std::string line; std::getline(in, line);) result.push_back(line);
        return result;
    }
    // Each line's text, without its frame number.
    [[nodiscard]] std::vector<std::string> messages() const {
        std::vector<std::string> result;
        for (const std::string& line : lines()) {
            const auto space = line.find(' ');
            result.push_back(space == std::string::npos ? std::string() : line.substr(space + 1));
        }
        return result;
    }

  private:
    std::filesystem::path file_;
};

}  // namespace quintora::testing
