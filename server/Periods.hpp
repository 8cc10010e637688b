#pragma once
// The periods a ranking can cover, as both the game's query and the web page name them.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "server/Http.hpp"

namespace quintora::server {

struct Period {
    int queryType;
    std::string_view label;
    std::int64_t seconds;  // 0: all time
};

inline constexpr std::int64_t kDay = 24 * 60 * 60;
inline constexpr std::array<Period, 4> kPeriods{
    {{1, "Today", kDay}, {2, "This week", 7 * kDay}, {3, "This month", 30 * kDay}, {4, "All time", 0}}};

// The period a "querytype" argument names; a missing or unknown one is all time.
[[nodiscard]] inline const Period& periodOf(const char* queryType) {
    const int number = wholeNumber(queryType, 4, 0, 5);
    return number >= 1 && number <= 4 ? kPeriods[static_cast<std::size_t>(number - 1)] : kPeriods.back();
}

// The earliest date a period holds at `now`, or nothing for all time.
[[nodiscard]] inline std::optional<std::int64_t> periodStart(const Period& period, std::int64_t now) {
    if (period.seconds == 0) return std::nullopt;
    return now - period.seconds;
}

}  // namespace quintora::server
