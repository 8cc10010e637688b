#include "server/Http.hpp"

#include <nettle/md5.h>

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace quintora::server {

Reply plainReply(int status, std::string text) {
    return Reply{status, "text/plain; charset=utf-8", std::move(text)};
}

const std::string* headerOf(const Reply& reply, std::string_view name) {
    for (const auto& [key, value] : reply.headers) {
        if (key == name) return &value;
    }
    return nullptr;
}

int wholeNumber(const char* text, int fallback, int low, int high) {
    if (text == nullptr) return fallback;
    const std::string_view digits(text);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return fallback;
    return std::clamp(value, low, high);
}

void addCachingHeaders(Reply& reply, int maxAgeSeconds) {
    md5_ctx context;
    md5_init(&context);
    md5_update(&context, reply.body.size(), reinterpret_cast<const std::uint8_t*>(reply.body.data()));
    std::uint8_t digest[MD5_DIGEST_SIZE];
    md5_digest(&context, sizeof digest, digest);
    std::string tag = "\"";
    for (const std::uint8_t byte : digest) {
        static constexpr char digits[] = "0123456789abcdef";
        tag += digits[byte >> 4];
        tag += digits[byte & 15];
    }
    reply.headers.emplace_back("ETag", tag + "\"");
    reply.headers.emplace_back("Cache-Control", "public, max-age=" + std::to_string(maxAgeSeconds));
}

bool noneMatchHolds(std::string_view ifNoneMatch, std::string_view etag) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    const std::string_view opaque = etag.starts_with("W/") ? etag.substr(2) : etag;
    std::size_t at = 0;
    while (at < ifNoneMatch.size()) {
        while (at < ifNoneMatch.size() && (isBlank(ifNoneMatch[at]) || ifNoneMatch[at] == ',')) ++at;
        if (at == ifNoneMatch.size()) break;
        if (ifNoneMatch[at] == '*') return true;
        if (ifNoneMatch.substr(at).starts_with("W/")) at += 2;
        if (at >= ifNoneMatch.size() || ifNoneMatch[at] != '"') return false;  // not a list of tags
        const std::size_t close = ifNoneMatch.find('"', at + 1);
        if (close == std::string_view::npos) return false;
        if (ifNoneMatch.substr(at, close + 1 - at) == opaque) return true;
        at = close + 1;
    }
    return false;
}

Reply unlessHeld(const char* ifNoneMatch, Reply reply) {
    const std::string* etag = headerOf(reply, "ETag");
    if (ifNoneMatch == nullptr || etag == nullptr || reply.status != 200) return reply;
    if (noneMatchHolds(ifNoneMatch, *etag)) {
        reply.status = 304;
        reply.body.clear();
    }
    return reply;
}

}  // namespace quintora::server
