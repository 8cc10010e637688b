#include "online/ScoreForm.hpp"

#include <nettle/base64.h>
#include <nettle/md5.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace quintora {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> decodeComponent(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%') {
            if (i + 2 >= text.size()) return std::nullopt;
            const int high = hexDigit(text[i + 1]);
            const int low = hexDigit(text[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string percentEscape(std::string_view text, std::string_view punctuationKept) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                          punctuationKept.find(ch) != std::string_view::npos;
        if (kept) {
            out += ch;
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 0x0f];
        }
    }
    return out;
}

std::string encodeData(std::string_view text) { return percentEscape(text, "-._~!$'()*,/:;?@"); }

std::optional<FormFields> decodeForm(std::string_view body) {
    FormFields fields;
    while (!body.empty()) {
        const std::size_t end = body.find('&');
        const std::string_view piece = body.substr(0, end);
        body = end == std::string_view::npos ? std::string_view() : body.substr(end + 1);
        if (piece.empty()) continue;
        const std::size_t equals = piece.find('=');
        auto key = decodeComponent(piece.substr(0, equals));
        auto value =
            decodeComponent(equals == std::string_view::npos ? std::string_view() : piece.substr(equals + 1));
        if (!key || !value) return std::nullopt;
        fields.emplace_back(std::move(*key), std::move(*value));
    }
    return fields;
}

int alphabeticSort(std::string_view first, std::string_view second, const void* context) {
    if (context == nullptr) std::swap(first, second);
    const std::size_t common = std::min(first.size(), second.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char a = foldCase(first[i]);
        const char b = foldCase(second[i]);
        if (a != b) return static_cast<unsigned char>(a) < static_cast<unsigned char>(b) ? -1 : 1;
    }
    if (first.size() != second.size()) return first.size() < second.size() ? -1 : 1;
    return first.compare(second) < 0 ? -1 : (first == second ? 0 : 1);
}

bool isUnsignedField(std::string_view key) {
    return key == "qs_device_id" || key == "qs_gamename" || key == "qs_prot_ver";
}

ScoreHash::ScoreHash() : md5Ctx(std::make_unique<md5_ctx>()) { md5_init(md5Ctx.get()); }

ScoreHash::~ScoreHash() = default;
ScoreHash::ScoreHash(ScoreHash&&) noexcept = default;
ScoreHash& ScoreHash::operator=(ScoreHash&&) noexcept = default;

void ScoreHash::add(std::string_view value) {
    md5_update(md5Ctx.get(), value.size(), reinterpret_cast<const std::uint8_t*>(value.data()));
}

std::string ScoreHash::finish(std::string_view gameKey) {
    add(gameKey);
    std::array<std::uint8_t, MD5_DIGEST_SIZE> digest{};
    md5_digest(md5Ctx.get(), digest.size(), digest.data());
    static constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t byte : digest) {
        hex += digits[byte >> 4];
        hex += digits[byte & 0x0f];
    }
    return hex;
}

std::string scoreHashOf(const FormFields& fields, std::string_view gameKey) {
    std::vector<const std::pair<std::string, std::string>*> signedFields;
    for (const auto& field : fields) {
        if (field.first != "qs_hash" && !isUnsignedField(field.first)) signedFields.push_back(&field);
    }
    static const int ascending = 1;
    std::stable_sort(signedFields.begin(), signedFields.end(), [](const auto* a, const auto* b) {
        return alphabeticSort(a->first, b->first, &ascending) < 0;
    });
    ScoreHash hash;
    for (const auto* field : signedFields) hash.add(field->second);
    return hash.finish(gameKey);
}

bool hashesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

std::string base64Text(std::span<const std::uint8_t> bytes) {
    std::string text(BASE64_ENCODE_RAW_LENGTH(bytes.size()), '\0');
    base64_encode_raw(text.data(), bytes.size(), bytes.data());
    return text;
}

std::optional<std::string> bytesOfBase64(std::string_view text) {
    base64_decode_ctx decoder;
    base64_decode_init(&decoder);
    std::string bytes(BASE64_DECODE_LENGTH(text.size()), '\0');
    std::size_t length = bytes.size();
    if (!base64_decode_update(&decoder, &length, reinterpret_cast<std::uint8_t*>(bytes.data()), text.size(),
                              text.data()) ||
        !base64_decode_final(&decoder)) {
        return std::nullopt;
    }
    bytes.resize(length);
    // The decoder passes over blanks and the bits under the padding: only the one text of these bytes counts.
    if (base64Text({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}) != text)
        return std::nullopt;
    return bytes;
}

}  // namespace quintora
