// Clients that hold connections open without finishing a request, and where a caller's country comes from.
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "ServerUnderTest.hpp"

namespace quintora::server::testing {
namespace {

// A connection that sends half a request and then nothing.
int openStalledRequest(const ServerUnderTest& server) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port =
        htons(static_cast<std::uint16_t>(std::stoi(server.url().substr(server.url().rfind(':') + 1))));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const timeval readTimeout{30, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &readTimeout, sizeof readTimeout);
    const std::string partial = "GET /healthz HTTP/1.1\r\nHost: x";
    EXPECT_EQ(write(fd, partial.data(), partial.size()), static_cast<ssize_t>(partial.size()));
    return fd;
}

TEST(Connections, StalledClientsNeitherBlockOthersNorTakeMoreThanTheirShare) {
    TempDir dir;
    ServerUnderTest server(dir.sqlite(), 0, "", uniqueGameName(), {.maxConnectionsPerAddress = 3});
    const int stalled[] = {openStalledRequest(server), openStalledRequest(server),
                           openStalledRequest(server)};
    EXPECT_EQ(server.get("").status, 0);  // the address has used up its connections
    close(stalled[0]);
    // Served beside the two still stalled, once the server has noticed the closed one (a bounded wait).
    HttpReply reply;
    for (int attempt = 0; attempt < 100 && (reply = server.get("")).status == 0; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(reply.status, 200);
    close(stalled[1]);
    close(stalled[2]);
}

TEST(Connections, AnUnfinishedRequestIsDroppedAfterTheIdleTimeout) {
    TempDir dir;
    ServerUnderTest server(dir.sqlite(), 0, "", uniqueGameName(), {.idleTimeoutSeconds = 1});
    const int fd = openStalledRequest(server);
    char byte = 0;
    EXPECT_EQ(read(fd, &byte, 1), 0);  // closed by the server, long before the 30 s read timeout
    close(fd);
    EXPECT_EQ(server.get("").status, 200);
}

TEST(Connections, CountryComesFromTheTrustedHeaderOrTheAddress) {
    const CountryLookup header("X-Country");
    const std::pair<const char*, const char*> headerValues[] = {{"de", "DE"}, {"JP", "JP"}, {"Germany", ""},
                                                                {"D1", ""},   {"", ""},     {nullptr, ""}};
    for (const auto& [value, country] : headerValues) EXPECT_EQ(header.countryOf("8.8.8.8", value), country);
    for (const char* address : {"127.0.0.1", "10.1.2.3", "172.20.0.1", "192.168.1.1", "169.254.0.9",
                                "100.64.0.1", "::1", "fd00::1", "fe80::1", "::ffff:192.168.0.1", "not an address"})
        EXPECT_TRUE(isLocalAddress(address)) << address;
    for (const char* address : {"8.8.8.8", "172.32.0.1", "2001:4860:4860::8888", "::ffff:8.8.8.8"})
        EXPECT_FALSE(isLocalAddress(address)) << address;
    if (!std::filesystem::exists("/usr/share/GeoIP/GeoIP.dat")) GTEST_SKIP() << "no GeoIP country database";
    const CountryLookup geoip("");
    EXPECT_EQ(geoip.countryOf("127.0.0.1", "DE"), "");
    EXPECT_EQ(geoip.countryOf("8.8.8.8", "DE"), "US");  // the header is ignored unless named
}

}  // namespace
}  // namespace quintora::server::testing
