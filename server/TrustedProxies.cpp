#include "server/TrustedProxies.hpp"

#include <arpa/inet.h>

#include <charconv>
#include <optional>

namespace quintora::server {

namespace {

struct Address {
    bool ipv6 = false;
    std::array<std::uint8_t, 16> bytes{};
};

std::optional<Address> parseAddress(std::string_view text) {
    const std::string copy(text);
    Address address;
    if (inet_pton(AF_INET, copy.c_str(), address.bytes.data()) == 1) return address;
    address.ipv6 = true;
    if (inet_pton(AF_INET6, copy.c_str(), address.bytes.data()) == 1) return address;
    return std::nullopt;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

bool TrustedProxies::add(std::string_view range) {
    const std::size_t slash = range.find('/');
    const auto address = parseAddress(range.substr(0, slash));
    if (!address) return false;
    const int maxBits = address->ipv6 ? 128 : 32;
    int bits = maxBits;
    if (slash != std::string_view::npos) {
        const std::string_view bitsText = range.substr(slash + 1);
        const auto [end, error] = std::from_chars(bitsText.data(), bitsText.data() + bitsText.size(), bits);
        if (bitsText.empty() || error != std::errc() || end != bitsText.data() + bitsText.size() ||
            bits < 0 || bits > maxBits) {
            return false;
        }
    }
    ranges_.push_back({address->ipv6, address->bytes, bits});
    return true;
}

bool TrustedProxies::contains(std::string_view text) const {
    const auto address = parseAddress(text);
    if (!address) return false;
    for (const Range& range : ranges_) {
        if (range.ipv6 != address->ipv6) continue;
        int bits = range.bits;
        std::size_t byte = 0;
        for (; bits >= 8; bits -= 8, ++byte) {
            if (range.bytes[byte] != address->bytes[byte]) break;
        }
        if (bits >= 8) continue;
        const auto mask = static_cast<std::uint8_t>(0xFF00 >> bits);
        if (bits == 0 || (range.bytes[byte] & mask) == (address->bytes[byte] & mask)) return true;
    }
    return false;
}

std::string TrustedProxies::clientAddress(const std::string& peer, std::string_view forwardedFor) const {
    if (!contains(peer)) return peer;
    std::string client = peer;
    while (!forwardedFor.empty()) {
        const std::size_t comma = forwardedFor.rfind(',');
        const std::string_view hop =
            trimmed(comma == std::string_view::npos ? forwardedFor : forwardedFor.substr(comma + 1));
        forwardedFor = comma == std::string_view::npos ? std::string_view() : forwardedFor.substr(0, comma);
        // A hop that is not an address cannot be told apart from a forgery: the last good one stands.
        if (!parseAddress(hop)) return client;
        client = std::string(hop);
        if (!contains(client)) return client;
    }
    return client;
}

}  // namespace quintora::server
