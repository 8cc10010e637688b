#pragma once
// Replays in the data folder: the last finished run, and the run behind each record, kept beside the
// records so that the records screen can show how they were played. And the request to watch one.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quintora {

inline constexpr const char* kLastRunFile = "last-run.qreplay";
// The run behind a level's (1 to 3) record at a place (1 best, 2 second).
[[nodiscard]] std::string recordReplayFile(int level, int place);

// Writes bytes to a file of the data folder, replacing it whole; false (and a log line) when it cannot.
bool saveDataFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
// Removes a file of the data folder, if it is there.
void removeDataFile(const std::string& name);
// A file of the data folder, or nothing when it is missing or larger than a replay can be.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> loadDataFile(const std::string& name);

// The last run became a level's record at a place; a new best pushes the old best's run down with it.
void keepLastRunAsRecord(int level, int place, bool bestMovesDown);

// A screen asks for a replay to be watched; the application takes the request at the next frame.
void requestWatching(std::vector<std::uint8_t> replay);
[[nodiscard]] std::optional<std::vector<std::uint8_t>> takeWatchRequest();

}  // namespace quintora
