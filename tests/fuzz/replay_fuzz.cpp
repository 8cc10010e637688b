// Feeds arbitrary bytes to the replay reader as a hostile post to the score server could. Bytes whose first
// is even are read as a whole file; the others are wrapped as the compressed body of a file of the right
// format, so that the fuzzer reaches the body's reader instead of stopping at the compression. Besides the
// sanitizers' checks: whatever reads must write back to bytes that read the same.
#include <zstd.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "replay/Replay.hpp"

namespace {

using namespace quintora::replay;

void require(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::uint8_t> wrappedAsBody(std::span<const std::uint8_t> body) {
    std::vector<std::uint8_t> file{'Q', 'R', 'P', 'L', kFormatVersion};
    file.resize(5 + ZSTD_compressBound(body.size()));
    const std::size_t packed = ZSTD_compress(file.data() + 5, file.size() - 5, body.data(), body.size(), 1);
    require(!ZSTD_isError(packed));
    file.resize(5 + packed);
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    const std::vector<std::uint8_t> file =
        data[0] % 2 == 0 ? std::vector<std::uint8_t>(input.begin(), input.end()) : wrappedAsBody(input);
    const auto decoded = decode(file);
    if (const auto* error = std::get_if<ReadError>(&decoded)) {
        require(!error->reason.empty());
        return 0;
    }
    const Replay& replay = std::get<Replay>(decoded);
    const auto again = decode(encode(replay));
    require(std::holds_alternative<Replay>(again) && std::get<Replay>(again) == replay);
    return 0;
}
