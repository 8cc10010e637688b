#include "server/ScoreChecks.hpp"

#include <charconv>
#include <cmath>
#include <optional>
#include <set>

#include "server/Text.hpp"

namespace quintora::server {

namespace {

constexpr std::string_view kProtocolVersion = "1.1";

bool isKnownField(std::string_view key) {
    return key == "qs_category" || key == "qs_playername" || key == "qs_score" || key == "qs_hash" ||
           key == kReplayField || isUnsignedField(key);
}

const std::string* findField(const FormFields& fields, std::string_view key) {
    for (const auto& [name, value] : fields) {
        if (name == key) return &value;
    }
    return nullptr;
}

bool hasDuplicateKeys(const FormFields& fields) {
    std::set<std::string_view> seen;
    for (const auto& field : fields) {
        if (!seen.insert(field.first).second) return true;
    }
    return false;
}

bool isPlainText(std::string_view text) { return isValidUtf8(text) && !hasControlCharacters(text); }

std::optional<double> parseScore(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(value) || value < 0.0 || value > kMaxScore) return std::nullopt;
    return value + 0.0;  // a posted "-0" ranks and prints as 0
}

std::string extraFields(const FormFields& fields) {
    std::string extra;
    for (const auto& [key, value] : fields) {
        if (isKnownField(key)) continue;
        if (!extra.empty()) extra += '&';
        extra += encodeData(key) + '=' + encodeData(value);
    }
    return extra;
}

}  // namespace

bool isDeviceId(std::string_view text) { return text.size() <= kMaxDeviceBytes && isPlainText(text); }

std::variant<NewScore, Refusal> checkScore(const FormFields& fields, const GameKeys& games) {
    if (hasDuplicateKeys(fields)) return Refusal{400, "duplicate field"};
    const std::string* game = findField(fields, "qs_gamename");
    const auto key = game ? games.find(*game) : games.end();
    if (key == games.end()) return Refusal{404, "unknown game"};
    const std::string* version = findField(fields, "qs_prot_ver");
    if (!version || *version != kProtocolVersion) return Refusal{400, "unsupported protocol version"};
    const std::string* hash = findField(fields, "qs_hash");
    if (!hash || !hashesEqual(*hash, scoreHashOf(fields, key->second))) return Refusal{403, "bad hash"};

    const std::string* name = findField(fields, "qs_playername");
    const std::string* category = findField(fields, "qs_category");
    const std::string* scoreText = findField(fields, "qs_score");
    if (!name) return Refusal{400, "missing qs_playername"};
    if (!category) return Refusal{400, "missing qs_category"};
    if (!scoreText) return Refusal{400, "missing qs_score"};

    if (!isValidUtf8(*name)) return Refusal{400, "bad name"};
    const std::string_view trimmedName = trimBlanks(*name);
    if (!hasVisibleCharacters(trimmedName)) return Refusal{400, "empty name"};
    if (hasControlCharacters(trimmedName)) return Refusal{400, "bad name"};
    if (countCharacters(trimmedName) > kMaxNameCharacters) return Refusal{400, "name too long"};
    if (category->empty() || !isPlainText(*category)) return Refusal{400, "bad category"};
    if (category->size() > kMaxCategoryBytes) return Refusal{400, "category too long"};
    const std::optional<double> score = parseScore(*scoreText);
    if (!score) return Refusal{400, "bad score"};
    const std::string* device = findField(fields, "qs_device_id");
    if (device && !isDeviceId(*device)) return Refusal{400, "bad device id"};

    NewScore result;
    result.game = *game;
    result.category = *category;
    result.name = std::string(trimmedName);
    result.score = *score;
    result.device = device ? *device : std::string();
    result.extra = extraFields(fields);
    result.signature = *hash;
    // A replay that cannot be read is the server's own verdict; the score is stored all the same, hidden.
    if (const std::string* replay = findField(fields, kReplayField)) {
        std::optional<std::string> bytes = bytesOfBase64(*replay);
        if (bytes && !bytes->empty()) {
            result.replay = std::move(*bytes);
            result.verdict = Verdict::Pending;
        } else {
            result.verdict = Verdict::Invalid;
            result.reason = bytes ? "empty replay" : "replay is not base64";
        }
    }
    return result;
}

}  // namespace quintora::server
