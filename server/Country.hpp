#pragma once
// The two-letter country of a client: from a trusted proxy's header when the operator names one, else from
// the GeoIP country database when it is installed, else unknown ("").
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quintora::server {

class CountryLookup {
  public:
    // Without a header name the proxy header is never trusted. `databaseDir` holds GeoIP.dat and
    // GeoIPv6.dat; either may be missing.
    explicit CountryLookup(std::string headerName, const std::string& databaseDir = "/usr/share/GeoIP");
    ~CountryLookup();
    CountryLookup(const CountryLookup&) = delete;
    CountryLookup& operator=(const CountryLookup&) = delete;

    // The header to read, or "" when none is trusted.
    [[nodiscard]] const std::string& headerName() const { return headerName_; }

    // `address` is the peer's numeric address; `headerValue` what the trusted header held, if anything.
    [[nodiscard]] std::string countryOf(std::string_view address, const char* headerValue) const;

  private:
    struct Databases;
    std::string headerName_;
    std::unique_ptr<Databases> databases_;
};

// True for loopback, private, link-local and other addresses that never say where a client is.
[[nodiscard]] bool isLocalAddress(std::string_view address);

}  // namespace quintora::server
