#include "app/replay/ReplayPlayer.hpp"

#include <cstdio>

#include "app/screens/MenuScene.hpp"
#include "flow/GameState.hpp"
#include "online/JSONWriter.hpp"

namespace quintora {
namespace {

// What a real display gives: a game that ran faster or slower than this on average was not played on one.
constexpr double kMaxFramesPerSecond = 240;
constexpr double kMinFramesPerSecond = 20;

}  // namespace

std::string ReplayVerdict::json() const {
    std::string json = "{\"verdict\":\"" + verdict + "\"";
    if (played) {
        char figures[160];
        std::snprintf(figures, sizeof figures,
                      ",\"level\":%d,\"time\":%.9g,\"stages\":%d,\"wins\":%d,\"frames\":%zu", level,
                      static_cast<double>(time), stages, wins, frames);
        json += figures;
    }
    json += ",\"version\":";
    appendJSONString(json, replay::kGameVersion);
    if (!reason.empty()) {
        json += ",\"reason\":";
        appendJSONString(json, reason);
    }
    return json + "}";
}

ReplayVerdict unreadableVerdict(const replay::ReadError& error) {
    ReplayVerdict verdict;
    verdict.verdict = error.failure == replay::ReadFailure::OtherVersion ? "other-version" : "invalid";
    verdict.reason = error.reason;
    return verdict;
}

std::int64_t ReplayPlayer::frameStep() const {
    return frame_ < replay_.frameSteps.size() ? replay_.frameSteps[frame_] : 0;
}

void ReplayPlayer::deliver(RecordedInputSink& input) {
    if (isOver()) return;
    if (frame_ == 0) {
        clock_ = replay_.startMicros;
        // The run is started as the menu starts it, with the start-up logo long gone.
        skipRunningMenuLogo();
        GameState& state = game();
        state.SelectLevel = replay_.level;
        state.arrayselect = replay_.arrayselect;
        state.stagenum = replay_.stagenum;
        state.practice = false;
        run_ = ChangeClass::make();
        run_->startRun();
    }
    for (; nextInput_ < replay_.inputs.size() && replay_.inputs[nextInput_].frame == frame_; ++nextInput_) {
        const replay::Input& recorded = replay_.inputs[nextInput_];
        switch (recorded.kind) {
            case replay::InputKind::Touch:
                input.recordedTouch(recorded.code, recorded.id, static_cast<float>(recorded.x),
                                    static_cast<float>(recorded.y));
                break;
            case replay::InputKind::Key:
                if (recorded.code >= 0 && recorded.code <= static_cast<int>(platform::Key::Other)) {
                    input.recordedKey(static_cast<platform::Key>(recorded.code), recorded.id != 0);
                }
                break;
            case replay::InputKind::Focus:
                input.recordedFocus(recorded.id != 0);
                break;
            case replay::InputKind::Tilt:
                tilt_ = Acceleration{recorded.x, recorded.y, recorded.z, 0};
                break;
            case replay::InputKind::PauseToggle:
                input.recordedPauseToggle();
                break;
            case replay::InputKind::AlertAnswer:
                input.recordedAlertAnswer(recorded.code);
                break;
        }
    }
    const std::int64_t step = replay_.frameSteps[frame_];
    if (step < 0) impossibleStep_ = true;
    // A step that would overflow the clock is as implausible as a negative one; the clock stays put.
    std::int64_t next = 0;
    if (__builtin_add_overflow(clock_, step, &next)) {
        impossibleStep_ = true;
    } else {
        clock_ = next;
    }
}

void ReplayPlayer::frameDone(bool paused) {
    if (frame_ >= replay_.frameSteps.size()) return;
    if (!paused) {
        if (__builtin_add_overflow(runningMicros_, replay_.frameSteps[frame_], &runningMicros_))
            impossibleStep_ = true;
        ++runningFrames_;
    }
    ++frame_;
}

void ReplayPlayer::randomSeeded(std::int64_t seed) {
    if (seedsRead_ >= replay_.seeds.size() || replay_.seeds[seedsRead_] != seed) seedsDiffer_ = true;
    ++seedsRead_;
}

void ReplayPlayer::stageBooked(int number, bool won) {
    replayed_.stages.push_back(static_cast<std::uint8_t>(number));
    replayed_.wins.push_back(won ? 1 : 0);
}

void ReplayPlayer::runEnded(const GameState& state) {
    if (ended_) return;
    ended_ = true;
    endFrame_ = frame_;
    replayed_.time = state.Totaltime;
}

std::optional<std::string> ReplayPlayer::implausibleTiming() const {
    if (impossibleStep_) return "a frame step is negative or out of range";
    if (runningFrames_ == 0) return std::nullopt;
    const double seconds = static_cast<double>(runningMicros_) / 1e6;
    const double rate = seconds > 0 ? static_cast<double>(runningFrames_) / seconds : 1e9;
    if (rate > kMaxFramesPerSecond || rate < kMinFramesPerSecond) {
        char reason[80];
        std::snprintf(reason, sizeof reason, "%.1f frames a second on average", rate);
        return reason;
    }
    return std::nullopt;
}

ReplayVerdict ReplayPlayer::verdict() const {
    ReplayVerdict result;
    result.played = true;
    result.level = replay_.level;
    result.time = replayed_.time;
    result.stages = static_cast<int>(replayed_.stages.size());
    for (const std::uint8_t won : replayed_.wins) result.wins += won;
    result.frames = replay_.frameSteps.size();
    const auto judge = [&](const char* verdict, std::string reason) {
        result.verdict = verdict;
        result.reason = std::move(reason);
        return result;
    };
    if (const std::optional<std::string> timing = implausibleTiming())
        return judge("implausible-timing", *timing);
    // Anything the re-play does otherwise than recorded: the replay is not of the run it claims.
    if (!ended_) return judge("mismatch", "the run does not end");
    if (endFrame_ + 1 != replay_.frameSteps.size())
        return judge("mismatch", "frames after the end of the run");
    if (seedsDiffer_ || seedsRead_ != replay_.seeds.size()) {
        return judge("mismatch", "the seeds do not come from its clock");
    }
    if (replayed_.stages != replay_.stages || replayed_.wins != replay_.wins) {
        return judge("mismatch", "the re-play plays other stages or outcomes than recorded");
    }
    if (replayed_.time != replay_.time)
        return judge("mismatch", "the re-play ends with another time than recorded");
    return judge("verified", "");
}

}  // namespace quintora
