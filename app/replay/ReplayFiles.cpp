#include "app/replay/ReplayFiles.hpp"

#include <filesystem>
#include <fstream>
#include <utility>

#include "platform/Log.hpp"
#include "platform/UserDefaults.hpp"
#include "replay/Replay.hpp"

namespace quintora {
namespace {

std::optional<std::vector<std::uint8_t>> watchRequest;

}  // namespace

std::string recordReplayFile(int level, int place) {
    return "record-" + std::to_string(level) + "-" + std::to_string(place) + replay::kFileExtension;
}

bool saveDataFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    namespace fs = std::filesystem;
    const fs::path folder = platform::dataDirectory();
    const fs::path file = folder / name;
    const fs::path partial = folder / (name + ".partial");
    std::error_code error;
    fs::create_directories(folder, error);
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            platform::logf("cannot write %s", partial.c_str());
            return false;
        }
    }
    fs::rename(partial, file, error);
    if (error) platform::logf("cannot write %s: %s", file.c_str(), error.message().c_str());
    return !error;
}

void removeDataFile(const std::string& name) {
    std::error_code error;
    std::filesystem::remove(std::filesystem::path(platform::dataDirectory()) / name, error);
}

std::optional<std::vector<std::uint8_t>> loadDataFile(const std::string& name) {
    std::ifstream in(std::filesystem::path(platform::dataDirectory()) / name, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes = replay::readReplayBytes(in);
    if (bytes.size() > replay::kMaxFileBytes) return std::nullopt;
    return bytes;
}

void keepLastRunAsRecord(int level, int place, bool bestMovesDown) {
    namespace fs = std::filesystem;
    const fs::path folder = platform::dataDirectory();
    std::error_code error;
    if (place == 1 && bestMovesDown) {
        fs::rename(folder / recordReplayFile(level, 1), folder / recordReplayFile(level, 2), error);
        if (error) removeDataFile(recordReplayFile(level, 2));
    }
    if (const auto run = loadDataFile(kLastRunFile)) {
        saveDataFile(recordReplayFile(level, place), *run);
    } else {
        removeDataFile(recordReplayFile(level, place));  // no run to show: no other run's either
    }
}

void requestWatching(std::vector<std::uint8_t> replay) { watchRequest = std::move(replay); }

std::optional<std::vector<std::uint8_t>> takeWatchRequest() {
    return std::exchange(watchRequest, std::nullopt);
}

}  // namespace quintora
