// Feeds arbitrary bodies to the score server's form decoder and score checks, as any client on the network
// may. Besides the sanitizers' checks it holds them to their promises: what decodes re-encodes to the same
// fields, an accepted score is within every limit, any stored text comes out of JSON as plain ASCII, and a
// replay is read from its one canonical base64 text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "online/GameKey.hpp"
#include "online/JSONWriter.hpp"
#include "online/ScoreForm.hpp"
#include "server/ScoreChecks.hpp"
#include "server/Text.hpp"

namespace {

using namespace quintora;
using namespace quintora::server;

void require(bool condition) {
    if (!condition) std::abort();
}

void checkJson(std::string_view text) {
    std::string json;
    appendJSONString(json, text);
    require(json.size() >= 2 && json.front() == '"' && json.back() == '"');
    for (const char c : json) require(c >= 0x20 && c < 0x7F);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const auto fields = decodeForm(body);
    checkJson(body);
    if (!fields) return 0;

    std::string again;
    for (const auto& [key, value] : *fields) {
        if (!again.empty()) again += '&';
        again += encodeData(key) + '=' + encodeData(value);
    }
    const auto reread = decodeForm(again);
    require(reread && *reread == *fields);

    static const GameKeys games{{std::string(kGameName), std::string(kGameKey)}};
    const auto checked = checkScore(*fields, games);
    if (const auto* score = std::get_if<NewScore>(&checked)) {
        require(!score->name.empty() && countCharacters(score->name) <= kMaxNameCharacters);
        require(isValidUtf8(score->name) && !hasControlCharacters(score->name));
        require(!score->category.empty() && score->category.size() <= kMaxCategoryBytes);
        require(score->score >= 0.0 && score->score <= kMaxScore);
        checkJson(score->name);
        // A replay is taken only as the one text that encodes its bytes; anything else is refused as such.
        for (const auto& [key, value] : *fields) {
            if (key != kReplayField) continue;
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(score->replay.data());
            require(score->verdict == Verdict::Pending ? base64Text({bytes, score->replay.size()}) == value
                                                       : score->verdict == Verdict::Invalid);
        }
    } else {
        const auto& refusal = std::get<Refusal>(checked);
        require(refusal.status >= 400 && refusal.status < 500 && refusal.text != "OK");
    }
    return 0;
}
