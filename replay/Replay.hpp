#pragma once
// A recorded run: where it started (the level, the stage-order state, the clock), what came in (each frame's
// clock step, each input with its frame) and what came out (the seeds read, the stages played, the time).
// Re-playing the steps and inputs from the same start gives the same run; the seeds, stages and result are
// there to be checked against the re-play.
//
// On disk: the magic "QRPL", a format byte, then one zstd frame of little-endian varints (see Replay.cpp).
// Every size is bounded and every value checked on reading: a replay is untrusted input.
#include <cstdint>
#include <istream>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace quintora::replay {

inline constexpr std::uint8_t kFormatVersion = 1;
// The game build that records and verifies: a replay re-plays identically only in the same build.
inline constexpr const char* kGameVersion = QUINTORA_VERSION;
inline constexpr const char* kMimeType = "application/x-quintora-replay";
inline constexpr const char* kFileExtension = ".qreplay";

// Bounds that no real run comes near: about four and a half hours at 60 frames a second.
inline constexpr std::size_t kMaxFileBytes = 1 << 20;
inline constexpr std::size_t kMaxFrames = 1 << 20;
inline constexpr std::size_t kMaxInputs = 1 << 20;
inline constexpr std::size_t kMaxSeeds = 1 << 16;
inline constexpr std::size_t kMaxStages = 1 << 14;

enum class InputKind : std::uint8_t {
    Touch = 1,        // phase, id, view point (x, y)
    Key = 2,          // code, pressed
    Focus = 3,        // active
    Tilt = 4,         // the sample delivered from this frame on (x, y, z), in units of gravity
    PauseToggle = 5,  // a controller's pause button
    AlertAnswer = 6,  // code: the button of the alert shown that was pressed (by automation)
};

struct Input {
    std::uint32_t frame = 0;  // counted from the frame the run started in
    InputKind kind = InputKind::Touch;
    std::int32_t code = 0;       // touch phase, or key code
    std::int32_t id = 0;         // touch id; for a key or focus, 1 pressed / active and 0 not
    double x = 0, y = 0, z = 0;  // a touch's point is a float's worth, a tilt's a double's

    bool operator==(const Input&) const = default;
};

struct Replay {
    std::string gameVersion = kGameVersion;
    int level = 0;                         // 1 to 3
    int arrayselect = 0;                   // the stage order, 0 (not drawn yet) to 6
    int stagenum = 0;                      // 0 to 15
    std::int64_t startMicros = 0;          // the clock when the run started
    std::vector<std::int64_t> frameSteps;  // each frame's clock step, microseconds
    std::vector<Input> inputs;             // in frame order
    std::vector<std::int64_t> seeds;       // every clock value the random generator was seeded with
    std::vector<std::uint8_t> stages;      // the stages played, in order
    std::vector<std::uint8_t> wins;        // for each stage, 1 won and 0 lost
    float time = 0;                        // the run's score

    bool operator==(const Replay&) const = default;
};

// Why bytes are no replay of this build.
enum class ReadFailure {
    Invalid,       // not a replay, or one broken or beyond the bounds
    OtherVersion,  // a replay of another format or another build of the game
};

struct ReadError {
    ReadFailure failure = ReadFailure::Invalid;
    std::string reason;
};

[[nodiscard]] std::vector<std::uint8_t> encode(const Replay& replay);
// Reads a stream to its end, but never more than one byte past what a replay may hold: enough for decode to
// tell a file too large, without reading all of it.
[[nodiscard]] std::vector<std::uint8_t> readReplayBytes(std::istream& in);
[[nodiscard]] std::variant<Replay, ReadError> decode(std::span<const std::uint8_t> bytes);

}  // namespace quintora::replay
