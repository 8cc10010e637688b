#pragma once
// What the server knows of a posted run: whether its replay was re-played and what came of it. Stored as
// text with each entry; entries whose replay was refused stay stored but leave every ranking.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quintora::server {

enum class Verdict {
    None,               // posted without a replay: unverified, ranked unless only verified runs rank
    Pending,            // its replay waits for a verifier
    Verified,           // re-played to the posted level and time
    Mismatch,           // re-played, but to another level or time than was posted
    Invalid,            // not a replay the verifier could re-play (or it crashed, hung or flooded)
    OtherVersion,       // recorded by another version of the game: cannot be judged here
    ImplausibleTiming,  // frame times no real display gives
};

inline constexpr std::array<std::string_view, 7> kVerdictNames{
    "none", "pending", "verified", "mismatch", "invalid", "other-version", "implausible-timing"};

// The stored names of the verdicts that take an entry out of every ranking, as a SQL list.
inline constexpr std::string_view kRejectedVerdictsSql = "('mismatch', 'invalid', 'implausible-timing')";

// How many verifications ended in each verdict, indexed by the verdict.
using VerdictCounts = std::array<std::uint64_t, kVerdictNames.size()>;

// What an operator watches of the verification.
struct VerificationStats {
    VerdictCounts done{};
    std::uint64_t startFailures = 0;      // verifiers that could not be started (a broken install)
    std::optional<std::int64_t> pending;  // entries waiting in the store; nothing when it cannot tell
};

[[nodiscard]] constexpr std::string_view nameOf(Verdict verdict) {
    return kVerdictNames[static_cast<std::size_t>(verdict)];
}

[[nodiscard]] constexpr std::optional<Verdict> verdictNamed(std::string_view name) {
    for (std::size_t i = 0; i < kVerdictNames.size(); ++i) {
        if (kVerdictNames[i] == name) return static_cast<Verdict>(i);
    }
    return std::nullopt;
}

[[nodiscard]] constexpr bool isRejected(Verdict verdict) {
    return verdict == Verdict::Mismatch || verdict == Verdict::Invalid ||
           verdict == Verdict::ImplausibleTiming;
}

}  // namespace quintora::server
