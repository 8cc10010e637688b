#include "server/Country.hpp"

#include <GeoIP.h>
#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>

namespace quintora::server {

namespace {

bool isLocalIPv4(const std::array<std::uint8_t, 4>& a) {
    return a[0] == 0 || a[0] == 10 || a[0] == 127 || (a[0] == 169 && a[1] == 254) ||
           (a[0] == 172 && (a[1] & 0xF0) == 16) || (a[0] == 192 && a[1] == 168) ||
           (a[0] == 100 && (a[1] & 0xC0) == 64);
}

std::string twoLetterCode(const char* text) {
    if (text == nullptr) return {};
    std::string code;
    for (const char* c = text; *c != '\0'; ++c) {
        const char upper = (*c >= 'a' && *c <= 'z') ? static_cast<char>(*c - 'a' + 'A') : *c;
        if (upper < 'A' || upper > 'Z' || code.size() == 2) return {};
        code += upper;
    }
    return code.size() == 2 ? code : std::string();
}

GeoIP* openDatabase(const std::filesystem::path& file) {
    std::error_code ignored;
    if (!std::filesystem::exists(file, ignored)) return nullptr;
    // Held in memory: lookups then never touch the file and may run on many threads at once.
    return GeoIP_open(file.c_str(), GEOIP_MEMORY_CACHE | GEOIP_SILENCE);
}

}  // namespace

struct CountryLookup::Databases {
    GeoIP* v4 = nullptr;
    GeoIP* v6 = nullptr;
    ~Databases() {
        if (v4) GeoIP_delete(v4);
        if (v6) GeoIP_delete(v6);
    }
};

bool isLocalAddress(std::string_view address) {
    const std::string text(address);
    std::array<std::uint8_t, 4> v4{};
    if (inet_pton(AF_INET, text.c_str(), v4.data()) == 1) return isLocalIPv4(v4);
    std::array<std::uint8_t, 16> v6{};
    if (inet_pton(AF_INET6, text.c_str(), v6.data()) != 1) return true;
    const std::array<std::uint8_t, 12> mappedPrefix{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    if (std::equal(mappedPrefix.begin(), mappedPrefix.end(), v6.begin())) {
        return isLocalIPv4({v6[12], v6[13], v6[14], v6[15]});
    }
    const bool unspecifiedOrLoopback =
        std::all_of(v6.begin(), v6.begin() + 15, [](std::uint8_t b) { return b == 0; }) && v6[15] <= 1;
    return unspecifiedOrLoopback || (v6[0] & 0xFE) == 0xFC || (v6[0] == 0xFE && (v6[1] & 0xC0) == 0x80);
}

CountryLookup::CountryLookup(std::string headerName, const std::string& databaseDir)
    : headerName_(std::move(headerName)), databases_(std::make_unique<Databases>()) {
    databases_->v4 = openDatabase(std::filesystem::path(databaseDir) / "GeoIP.dat");
    databases_->v6 = openDatabase(std::filesystem::path(databaseDir) / "GeoIPv6.dat");
}

CountryLookup::~CountryLookup() = default;

std::string CountryLookup::countryOf(std::string_view address, const char* headerValue) const {
    if (!headerName_.empty()) return twoLetterCode(headerValue);
    if (isLocalAddress(address)) return {};
    const std::string text(address);
    GeoIPLookup details{};
    if (text.find(':') == std::string::npos) {
        return databases_->v4
                   ? twoLetterCode(GeoIP_country_code_by_addr_gl(databases_->v4, text.c_str(), &details))
                   : std::string();
    }
    return databases_->v6
               ? twoLetterCode(GeoIP_country_code_by_addr_v6_gl(databases_->v6, text.c_str(), &details))
               : std::string();
}

}  // namespace quintora::server
