#include "app/replay/RunRecorder.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Clock.hpp"
#include "platform/Log.hpp"
#include "platform/UserDefaults.hpp"

namespace quintora {
namespace {

// Only the keys that can change a run are kept: sound, help, practice and the window's keys cannot.
bool reachesTheRun(platform::Key key) {
    using platform::Key;
    switch (key) {
        case Key::M:
        case Key::Minus:
        case Key::Plus:
        case Key::F1:
        case Key::F2:
        case Key::Fullscreen:
        case Key::Space:
        case Key::F:
        case Key::Other:
            return false;
        default:
            return true;
    }
}

}  // namespace

std::string recordReplayFile(int level, int place) {
    return "record-" + std::to_string(level) + "-" + std::to_string(place) + replay::kFileExtension;
}

void RunRecorder::runStarting(const GameState& state) {
    replay_ = replay::Replay{};
    replay_.level = state.SelectLevel;
    replay_.arrayselect = state.arrayselect;
    replay_.stagenum = state.stagenum;
    replay_.startMicros = platform::virtualClockMicros();
    lastMicros_ = replay_.startMicros;
    lastTilt_.reset();
    recording_ = true;
}

void RunRecorder::randomSeeded(std::int64_t seed) {
    if (recording_ && replay_.seeds.size() < replay::kMaxSeeds) replay_.seeds.push_back(seed);
}

void RunRecorder::stageBooked(int number, bool won) {
    if (!recording_) return;
    replay_.stages.push_back(static_cast<std::uint8_t>(number));
    replay_.wins.push_back(won ? 1 : 0);
}

void RunRecorder::runEnded(const GameState& state) {
    if (!recording_) return;
    recording_ = false;
    replay_.time = state.Totaltime;
    lastRun_ = replay::encode(replay_);
    saveDataFile(kLastRunFile, lastRun_);
}

void RunRecorder::abandon() { recording_ = false; }

void RunRecorder::add(replay::Input input) {
    if (!recording_) return;
    // A run longer than a replay can hold is not kept rather than kept wrong.
    if (replay_.inputs.size() >= replay::kMaxInputs) {
        recording_ = false;
        return;
    }
    input.frame = static_cast<std::uint32_t>(replay_.frameSteps.size());
    replay_.inputs.push_back(input);
}

void RunRecorder::touch(int phase, long id, float viewX, float viewY) {
    add({.kind = replay::InputKind::Touch,
         .code = phase,
         .id = static_cast<std::int32_t>(id),
         .x = viewX,
         .y = viewY});
}

void RunRecorder::key(platform::Key key, bool pressed) {
    if (reachesTheRun(key))
        add({.kind = replay::InputKind::Key, .code = static_cast<int>(key), .id = pressed});
}

void RunRecorder::focus(bool active) { add({.kind = replay::InputKind::Focus, .id = active}); }

void RunRecorder::pauseToggle() { add({.kind = replay::InputKind::PauseToggle}); }

void RunRecorder::tilt(const Acceleration& sample) {
    if (!recording_) return;
    if (lastTilt_ && lastTilt_->x == sample.x && lastTilt_->y == sample.y && lastTilt_->z == sample.z) return;
    lastTilt_ = sample;
    add({.kind = replay::InputKind::Tilt, .x = sample.x, .y = sample.y, .z = sample.z});
}

void RunRecorder::frameClock(std::int64_t micros) {
    if (!recording_) return;
    if (replay_.frameSteps.size() >= replay::kMaxFrames) {
        recording_ = false;
        return;
    }
    replay_.frameSteps.push_back(micros - lastMicros_);
    lastMicros_ = micros;
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

std::optional<std::vector<std::uint8_t>> loadDataFile(const std::string& name) {
    std::ifstream in(std::filesystem::path(platform::dataDirectory()) / name, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
        if (bytes.size() > replay::kMaxFileBytes) return std::nullopt;
    }
    return bytes;
}

}  // namespace quintora
