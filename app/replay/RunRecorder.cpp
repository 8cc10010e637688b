#include "app/replay/RunRecorder.hpp"

#include "app/replay/ReplayFiles.hpp"
#include "platform/Clock.hpp"

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

void RunRecorder::runStarting(const GameState& state) {
    replay_ = replay::Replay{};
    replay_.level = state.SelectLevel;
    replay_.arrayselect = state.arrayselect;
    replay_.stagenum = state.stagenum;
    replay_.startMicros = platform::virtualClockMicros();
    lastMicros_ = replay_.startMicros;
    lastTilt_.reset();
    recording_ = true;
    cutShort_ = false;
}

void RunRecorder::randomSeeded(std::int64_t seed) {
    if (hasRoom(replay_.seeds.size(), replay::kMaxSeeds)) replay_.seeds.push_back(seed);
}

void RunRecorder::stageBooked(int number, bool won) {
    if (!hasRoom(replay_.stages.size(), replay::kMaxStages)) return;
    replay_.stages.push_back(static_cast<std::uint8_t>(number));
    replay_.wins.push_back(won ? 1 : 0);
}

void RunRecorder::runEnded(const GameState& state) {
    if (cutShort_) {
        // The last run kept is an earlier one: it must not be posted or kept as this run's.
        lastRun_.clear();
        removeDataFile(kLastRunFile);
    }
    if (!recording_) return;
    recording_ = false;
    replay_.time = state.Totaltime;
    lastRun_ = replay::encode(replay_);
    saveDataFile(kLastRunFile, lastRun_);
}

void RunRecorder::abandon() { recording_ = false; }

bool RunRecorder::hasRoom(std::size_t used, std::size_t bound) {
    // A run longer than a replay can hold is not kept rather than kept wrong.
    if (recording_ && used >= bound) {
        recording_ = false;
        cutShort_ = true;
    }
    return recording_;
}

void RunRecorder::add(replay::Input input) {
    if (!hasRoom(replay_.inputs.size(), replay::kMaxInputs)) return;
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

void RunRecorder::alertAnswer(int button) { add({.kind = replay::InputKind::AlertAnswer, .code = button}); }

void RunRecorder::tilt(const Acceleration& sample) {
    if (!recording_) return;
    if (lastTilt_ && lastTilt_->x == sample.x && lastTilt_->y == sample.y && lastTilt_->z == sample.z) return;
    lastTilt_ = sample;
    add({.kind = replay::InputKind::Tilt, .x = sample.x, .y = sample.y, .z = sample.z});
}

void RunRecorder::frameClock(std::int64_t micros) {
    if (!hasRoom(replay_.frameSteps.size(), replay::kMaxFrames)) return;
    replay_.frameSteps.push_back(micros - lastMicros_);
    lastMicros_ = micros;
}

}  // namespace quintora
