#pragma once
// What every answer of the server is made of, apart from the HTTP library: the reply itself, the lookup of
// query arguments and their numbers, and the caching headers with the revalidation that goes with them.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quintora::server {

struct Reply {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers = {};  // beyond Content-Type
};

[[nodiscard]] Reply plainReply(int status, std::string text);

// The value of a reply header, or nullptr.
[[nodiscard]] const std::string* headerOf(const Reply& reply, std::string_view name);

// Looks up one query-string argument; nullptr when absent.
using ArgumentLookup = std::function<const char*(const char* name)>;

// A whole decimal number clamped to [low, high], or `fallback` when the text is missing or not one (signs,
// "0x" prefixes, blanks and trailing text included).
[[nodiscard]] int wholeNumber(const char* text, int fallback, int low, int high);

// The response headers that let a browser or a proxy keep `reply` for `maxAgeSeconds` and then check it
// again cheaply (a strong ETag over the body).
void addCachingHeaders(Reply& reply, int maxAgeSeconds);

// Whether an If-None-Match field value names the entity tag `etag`: "*" names any, otherwise a list of
// tags compared weakly (W/"x" names "x").
[[nodiscard]] bool noneMatchHolds(std::string_view ifNoneMatch, std::string_view etag);

// A successful cacheable reply the client already holds becomes "304 Not Modified", caching headers kept.
[[nodiscard]] Reply unlessHeld(const char* ifNoneMatch, Reply reply);

}  // namespace quintora::server
