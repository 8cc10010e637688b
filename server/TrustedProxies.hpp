#pragma once
// Behind a load balancer every connection comes from the balancer. For peers in the ranges given, the
// client is the right-most address of X-Forwarded-For that is not itself one of them: each proxy appends
// the address it saw, so everything left of the last trusted hop may have been written by the client.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quintora::server {

class TrustedProxies {
  public:
    // Adds "ADDRESS/BITS" or a single address, IPv4 or IPv6; false when the text is neither.
    bool add(std::string_view range);

    [[nodiscard]] bool contains(std::string_view address) const;

    // The address rate limits, countries and the access log use. `forwardedFor` is every X-Forwarded-For
    // header joined by commas, or empty.
    [[nodiscard]] std::string clientAddress(const std::string& peer, std::string_view forwardedFor) const;

  private:
    struct Range {
        bool ipv6 = false;
        std::array<std::uint8_t, 16> bytes{};
        int bits = 0;
    };
    std::vector<Range> ranges_;
};

}  // namespace quintora::server
