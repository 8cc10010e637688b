#include "replay/Replay.hpp"

#include <zstd.h>

#include <cmath>
#include <cstring>

#include "replay/ByteStream.hpp"

namespace quintora::replay {
namespace {

// The body, before compression:
//   game version (text), level, arrayselect, stagenum, start (signed, microseconds)
//   frame count, each frame's step as its difference from the step before (signed)
//   input count, each input: frames since the input before, kind, then by kind
//       touch: phase (byte), id (signed), x, y     key: code (signed), pressed (byte)
//       focus: active (byte)                        tilt: x, y, z (doubles)                pause toggle:
//       nothing
//   seed count, each seed as its difference from the one before (the first from the start's second)
//   stage count, each stage's number and whether it was won (bytes)
//   the run's time
constexpr std::uint8_t kMagic[4] = {'Q', 'R', 'P', 'L'};
constexpr std::size_t kHeaderBytes = sizeof kMagic + 1;
constexpr std::size_t kMaxBodyBytes = 32u << 20;
constexpr int kCompressionLevel = 19;
constexpr std::size_t kMaxVersionLength = 64;
constexpr int kTouchPhases = 4;
constexpr std::uint64_t kMaxAlertButtons = 16;

void writeInput(ByteWriter& out, const Input& input, std::uint32_t previousFrame) {
    out.unsignedNumber(input.frame - previousFrame);
    out.byte(static_cast<std::uint8_t>(input.kind));
    switch (input.kind) {
        case InputKind::Touch:
            out.byte(static_cast<std::uint8_t>(input.code));
            out.signedNumber(input.id);
            out.floatBits(static_cast<float>(input.x));
            out.floatBits(static_cast<float>(input.y));
            break;
        case InputKind::Key:
            out.signedNumber(input.code);
            out.byte(input.id != 0);
            break;
        case InputKind::Focus:
            out.byte(input.id != 0);
            break;
        case InputKind::Tilt:
            out.doubleBits(input.x);
            out.doubleBits(input.y);
            out.doubleBits(input.z);
            break;
        case InputKind::PauseToggle:
            break;
        case InputKind::AlertAnswer:
            out.unsignedNumber(static_cast<std::uint32_t>(input.code));
            break;
    }
}

// Reads what it can; the first thing missing or out of bounds fails the whole read with its reason.
class BodyReader {
  public:
    explicit BodyReader(std::span<const std::uint8_t> body) : in_(body) {}

    std::variant<Replay, ReadError> read() {
        Replay replay;
        const std::optional<std::string> version = in_.text(kMaxVersionLength);
        if (!version) return fail("no game version");
        replay.gameVersion = *version;
        if (replay.gameVersion != kGameVersion) {
            return ReadError{ReadFailure::OtherVersion, "recorded by version " + replay.gameVersion};
        }
        replay.level = static_cast<int>(number(1, 3, "level"));
        replay.arrayselect = static_cast<int>(number(0, 6, "stage order"));
        replay.stagenum = static_cast<int>(number(0, 15, "stage position"));
        replay.startMicros = signedNumber("start");
        readFrames(replay);
        readInputs(replay);
        readSeeds(replay);
        readStages(replay);
        replay.time = finite(in_.floatBits(), "time");
        if (replay.time < 0) fail("negative time");
        if (failed_) return error_;
        if (!in_.atEnd()) return fail("bytes after the end");
        return replay;
    }

  private:
    ReadError fail(std::string reason) {
        if (!failed_) error_ = ReadError{ReadFailure::Invalid, std::move(reason)};
        failed_ = true;
        return error_;
    }

    std::uint64_t number(std::uint64_t low, std::uint64_t high, const char* what) {
        const std::optional<std::uint64_t> value = in_.unsignedNumber();
        if (!value || *value < low || *value > high) {
            fail(std::string("bad ") + what);
            return low;
        }
        return *value;
    }

    std::int64_t signedNumber(const char* what) {
        const std::optional<std::int64_t> value = in_.signedNumber();
        if (!value) fail(std::string("no ") + what);
        return value.value_or(0);
    }

    template <typename Number>
    Number finite(std::optional<Number> value, const char* what) {
        if (!value || !std::isfinite(*value)) {
            fail(std::string("bad ") + what);
            return 0;
        }
        return *value;
    }

    void readFrames(Replay& replay) {
        const auto count = static_cast<std::size_t>(number(0, kMaxFrames, "frame count"));
        std::int64_t step = 0;
        for (std::size_t i = 0; i < count && !failed_; ++i) {
            const std::int64_t change = signedNumber("frame step");
            if (__builtin_add_overflow(step, change, &step)) fail("frame step out of range");
            replay.frameSteps.push_back(step);
        }
    }

    void readInputs(Replay& replay) {
        const auto count = static_cast<std::size_t>(number(0, kMaxInputs, "input count"));
        std::uint64_t frame = 0;
        for (std::size_t i = 0; i < count && !failed_; ++i) {
            Input input;
            frame += number(0, kMaxFrames, "input frame");
            if (frame >= replay.frameSteps.size()) fail("input after the last frame");
            input.frame = static_cast<std::uint32_t>(frame);
            input.kind = static_cast<InputKind>(number(1, 6, "input kind"));
            readInputFields(input);
            replay.inputs.push_back(input);
        }
    }

    void readInputFields(Input& input) {
        switch (input.kind) {
            case InputKind::Touch:
                input.code = static_cast<std::int32_t>(byteIn(0, kTouchPhases - 1, "touch phase"));
                input.id = static_cast<std::int32_t>(signedNumber("touch id"));
                input.x = finite(in_.floatBits(), "touch point");
                input.y = finite(in_.floatBits(), "touch point");
                break;
            case InputKind::Key:
                input.code = static_cast<std::int32_t>(signedNumber("key"));
                input.id = byteIn(0, 1, "key state");
                break;
            case InputKind::Focus:
                input.id = byteIn(0, 1, "focus");
                break;
            case InputKind::Tilt:
                input.x = finite(in_.doubleBits(), "tilt");
                input.y = finite(in_.doubleBits(), "tilt");
                input.z = finite(in_.doubleBits(), "tilt");
                break;
            case InputKind::PauseToggle:
                break;
            case InputKind::AlertAnswer:
                input.code = static_cast<std::int32_t>(number(0, kMaxAlertButtons, "alert button"));
                break;
        }
    }

    std::uint8_t byteIn(std::uint8_t low, std::uint8_t high, const char* what) {
        const std::optional<std::uint8_t> value = in_.byte();
        if (!value || *value < low || *value > high) {
            fail(std::string("bad ") + what);
            return low;
        }
        return *value;
    }

    void readSeeds(Replay& replay) {
        const auto count = static_cast<std::size_t>(number(0, kMaxSeeds, "seed count"));
        std::int64_t seed = replay.startMicros / 1000000;
        for (std::size_t i = 0; i < count && !failed_; ++i) {
            if (__builtin_add_overflow(seed, signedNumber("seed"), &seed)) fail("seed out of range");
            replay.seeds.push_back(seed);
        }
    }

    void readStages(Replay& replay) {
        const auto count = static_cast<std::size_t>(number(0, kMaxStages, "stage count"));
        for (std::size_t i = 0; i < count && !failed_; ++i) {
            replay.stages.push_back(byteIn(1, 16, "stage"));
            replay.wins.push_back(byteIn(0, 1, "stage outcome"));
        }
    }

    ByteReader in_;
    bool failed_ = false;
    ReadError error_;
};

}  // namespace

std::vector<std::uint8_t> encode(const Replay& replay) {
    ByteWriter out;
    out.text(replay.gameVersion);
    out.unsignedNumber(static_cast<std::uint64_t>(replay.level));
    out.unsignedNumber(static_cast<std::uint64_t>(replay.arrayselect));
    out.unsignedNumber(static_cast<std::uint64_t>(replay.stagenum));
    out.signedNumber(replay.startMicros);
    out.unsignedNumber(replay.frameSteps.size());
    std::int64_t previousStep = 0;
    for (std::int64_t step : replay.frameSteps) {
        out.signedNumber(step - previousStep);
        previousStep = step;
    }
    out.unsignedNumber(replay.inputs.size());
    std::uint32_t previousFrame = 0;
    for (const Input& input : replay.inputs) {
        writeInput(out, input, previousFrame);
        previousFrame = input.frame;
    }
    out.unsignedNumber(replay.seeds.size());
    std::int64_t previousSeed = replay.startMicros / 1000000;
    for (std::int64_t seed : replay.seeds) {
        out.signedNumber(seed - previousSeed);
        previousSeed = seed;
    }
    out.unsignedNumber(replay.stages.size());
    for (std::size_t i = 0; i < replay.stages.size(); ++i) {
        out.byte(replay.stages[i]);
        out.byte(i < replay.wins.size() ? replay.wins[i] : 0);
    }
    out.floatBits(replay.time);
    const std::vector<std::uint8_t> body = out.take();

    std::vector<std::uint8_t> file(kHeaderBytes + ZSTD_compressBound(body.size()));
    std::memcpy(file.data(), kMagic, sizeof kMagic);
    file[sizeof kMagic] = kFormatVersion;
    const std::size_t packed = ZSTD_compress(file.data() + kHeaderBytes, file.size() - kHeaderBytes,
                                             body.data(), body.size(), kCompressionLevel);
    file.resize(ZSTD_isError(packed) ? kHeaderBytes : kHeaderBytes + packed);
    return file;
}

std::vector<std::uint8_t> readReplayBytes(std::istream& in) {
    std::vector<std::uint8_t> bytes;
    char buffer[65536];
    while (bytes.size() <= kMaxFileBytes && (in.read(buffer, sizeof buffer) || in.gcount() > 0))
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    return bytes;
}

std::variant<Replay, ReadError> decode(std::span<const std::uint8_t> bytes) {
    const auto invalid = [](std::string reason) {
        return ReadError{ReadFailure::Invalid, std::move(reason)};
    };
    if (bytes.size() > kMaxFileBytes) return invalid("larger than a replay can be");
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return invalid("not a replay");
    if (bytes[sizeof kMagic] != kFormatVersion) {
        return ReadError{ReadFailure::OtherVersion,
                         "format " + std::to_string(bytes[sizeof kMagic]) + " is not known here"};
    }
    const std::span<const std::uint8_t> packed = bytes.subspan(kHeaderBytes);
    // One frame that says how large it unpacks, within bounds, and nothing after it.
    const unsigned long long size = ZSTD_getFrameContentSize(packed.data(), packed.size());
    if (size == ZSTD_CONTENTSIZE_ERROR || size == ZSTD_CONTENTSIZE_UNKNOWN || size > kMaxBodyBytes)
        return invalid("broken or oversized compressed body");
    if (ZSTD_findFrameCompressedSize(packed.data(), packed.size()) != packed.size())
        return invalid("bytes after the compressed body");
    std::vector<std::uint8_t> body(static_cast<std::size_t>(size));
    const std::size_t unpacked = ZSTD_decompress(body.data(), body.size(), packed.data(), packed.size());
    if (ZSTD_isError(unpacked) || unpacked != body.size()) return invalid("broken compressed body");
    return BodyReader(body).read();
}

}  // namespace quintora::replay
