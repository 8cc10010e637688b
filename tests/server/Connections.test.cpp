// Clients that hold connections open without finishing a request, and where a caller's country comes from.
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "ServerUnderTest.hpp"

namespace quintora::server::testing {
namespace {

// A connection from `source` (a loopback address) that has sent `text` so far.
int openRequest(const ServerUnderTest& server, const std::string& text = "GET /healthz HTTP/1.1\r\nHost: x",
                const char* source = "127.0.0.1") {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, source, &address.sin_addr);
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    address.sin_port =
        htons(static_cast<std::uint16_t>(std::stoi(server.url().substr(server.url().rfind(':') + 1))));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const timeval readTimeout{30, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &readTimeout, sizeof readTimeout);
    EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    return fd;
}

// Everything the server answers to `request` until it closes the connection.
std::string answerTo(const ServerUnderTest& server, const std::string& request,
                     const char* source = "127.0.0.1") {
    const int fd = openRequest(server, request, source);
    shutdown(fd, SHUT_WR);
    std::string answer;
    char buffer[4096];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(got));
    close(fd);
    return answer;
}

TEST(Connections, StalledClientsNeitherBlockOthersNorTakeMoreThanTheirShare) {
    TempDir dir;
    ServerUnderTest server(dir.sqlite(), 0, "", uniqueGameName(), {.maxConnectionsPerAddress = 3});
    const int stalled[] = {openRequest(server), openRequest(server), openRequest(server)};
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

TEST(Connections, AnUnfinishedRequestIsDroppedAfterItsDeadlineHoweverItTrickles) {
    TempDir dir;
    ServerUnderTest server(dir.sqlite(), 0, "", uniqueGameName(),
                           {.idleTimeoutSeconds = 1, .requestDeadlineSeconds = 2});
    const int fd = openRequest(server);
    int sent = 0;  // one byte every 100 ms keeps the idle timeout from ever running out
    while (sent < 100 && send(fd, "x", 1, MSG_NOSIGNAL) == 1)
        ++sent, std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LT(sent, 100);
    close(fd);
    EXPECT_EQ(server.get("").status, 200);
}

TEST(Connections, WhenAllConnectionsAreTakenTheAddressHoldingMostGivesWay) {
    TempDir dir;
    ServerUnderTest server(dir.sqlite(), 0, "", uniqueGameName(), {.maxConnections = 3});
    const int stalled[] = {openRequest(server), openRequest(server), openRequest(server)};
    EXPECT_EQ(answerTo(server, "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n", "127.0.0.2").substr(0, 12),
              "HTTP/1.1 200");
    for (const int fd : stalled) close(fd);
}

TEST(Connections, RequestsWhoseEndIsUnclearAreRefusedBeforeTheirBodyIsRead) {
    TempDir dir;
    ServerUnderTest server(dir.sqlite());
    const std::string post = "POST /api/post-score HTTP/1.1\r\nHost: x\r\n";
    const std::string smuggled = "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n";
    const std::pair<std::string, const char*> cases[] = {
        {post + "Content-Length: 5\r\nContent-Length: 45\r\n\r\nabcde" + smuggled, "HTTP/1.1 400"},
        {post + "Content-Length: 5\r\nContent-Length: 5\r\n\r\nabcde", "HTTP/1.1 400"},
        {post + "Content-Length: 4\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n" + smuggled,
         "HTTP/1.1 400"},
        {post + "Transfer-Encoding: gzip\r\n\r\nabc", "HTTP/1.1 501"},
        {"DELETE /api/post-score HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 405"},
    };
    for (const auto& [request, status] : cases) {
        const std::string answer = answerTo(server, request);
        EXPECT_EQ(answer.substr(0, 12), status) << request;
        EXPECT_EQ(answer.find("HTTP/1.1", 1), std::string::npos) << "a second answer: " << answer;
    }
    EXPECT_NE(answerTo(server, "PUT /healthz HTTP/1.1\r\nHost: x\r\n\r\n").find("\r\nAllow: GET, HEAD\r\n"),
              std::string::npos);
}

TEST(Connections, IfNoneMatchNamesAnyTagOrWholeTagsOfAList) {
    const std::pair<const char*, bool> cases[] = {{"*", true},
                                                  {"\"ab\"", true},
                                                  {"W/\"ab\"", true},
                                                  {"\"x\", \"ab\"", true},
                                                  {"\"a\", \"b\"", false},
                                                  {"\"abc\"", false},
                                                  {"\"a\"", false},
                                                  {"ab", false},
                                                  {"", false}};
    for (const auto& [field, holds] : cases) EXPECT_EQ(noneMatchHolds(field, "\"ab\""), holds) << field;
}

TEST(Connections, CountryComesFromTheTrustedHeaderOrTheAddress) {
    const CountryLookup header("X-Country");
    const std::pair<const char*, const char*> headerValues[] = {{"de", "DE"}, {"JP", "JP"}, {"Germany", ""},
                                                                {"D1", ""},   {"", ""},     {nullptr, ""}};
    for (const auto& [value, country] : headerValues) EXPECT_EQ(header.countryOf("8.8.8.8", value), country);
    for (const char* address :
         {"127.0.0.1", "10.1.2.3", "172.20.0.1", "192.168.1.1", "169.254.0.9", "100.64.0.1", "::1", "fd00::1",
          "fe80::1", "::ffff:192.168.0.1", "not an address"})
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
