#pragma once
// Whether a posted score form may be stored: the game, the protocol version, the signature and each field.
#include <map>
#include <string>
#include <variant>

#include "online/ScoreForm.hpp"
#include "server/ScoreStore.hpp"

namespace quintora::server {

// Game name to the key that signs its scores.
using GameKeys = std::map<std::string, std::string, std::less<>>;

// Why a form was turned away: the HTTP status and the short text answered.
struct Refusal {
    int status = 400;
    std::string text;
};

inline constexpr std::size_t kMaxNameCharacters = 24;
inline constexpr std::size_t kMaxCategoryBytes = 32;
inline constexpr std::size_t kMaxDeviceBytes = 128;
inline constexpr double kMaxScore = 1'000'000.0;
// The form field that carries the run's replay file, in base64; signed like the others.
inline constexpr std::string_view kReplayField = "qs_replay";

// Whether `text` may name a device: short, well-formed and free of control characters. A ban needs one
// that is not empty, too; a post may leave it empty.
[[nodiscard]] bool isDeviceId(std::string_view text);

// The score a decoded form carries, without its country and date (the server adds those), or why not.
[[nodiscard]] std::variant<NewScore, Refusal> checkScore(const FormFields& fields, const GameKeys& games);

}  // namespace quintora::server
