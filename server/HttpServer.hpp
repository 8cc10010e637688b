#pragma once
// The HTTP front: libmicrohttpd with one thread per connection (a write waits for its commit without
// holding up anyone else), bounded bodies, a deadline for each whole request, connection limits per address
// and in total, and requests whose body could be read two ways refused before anything reads them.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>

#include "server/ConnectionGuard.hpp"
#include "server/Metrics.hpp"
#include "server/RankingPage.hpp"
#include "server/ScoreApi.hpp"
#include "server/TrustedProxies.hpp"

struct MHD_Daemon;
struct MHD_Connection;

namespace quintora::server {

struct HttpLimits {
    std::size_t maxBody = 4096;
    // A post that carries a replay (a field qs_replay) may be this long; any other stays within maxBody.
    std::size_t maxBodyWithReplay = 1024 * 1024;
    // What all bodies longer than maxBody being received at once may hold together, so that clients
    // sending the longest posts on every connection cannot take the process's memory; past it such a post
    // is answered 503 "server busy".
    std::size_t maxLongBodyBytes = 64 * 1024 * 1024;
    unsigned maxConnections = 1024;
    unsigned maxConnectionsPerAddress = 128;
    unsigned idleTimeoutSeconds = 10;
    unsigned requestDeadlineSeconds = 10;  // to receive and answer one whole request, however busy
};

class HttpServer {
  public:
    // Listens on host:port (port 0 picks a free one). Throws std::runtime_error when it cannot.
    // `accessLog` gets one line per request; nullptr for none. Without a `page`, GET / is not found. Peers
    // in `proxies` may name the client in X-Forwarded-For.
    HttpServer(const std::string& host, int port, const HttpLimits& limits, ScoreApi& api,
               const CountryLookup& countries, std::FILE* accessLog, RankingPage* page = nullptr,
               TrustedProxies proxies = {});
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // "http://HOST:PORT" with the port actually bound.
    [[nodiscard]] std::string url() const;

    // Stops taking connections, lets the requests under way finish (waiting at most `grace`), then stops.
    void shutdown(std::chrono::milliseconds grace);

    struct Request;  // one request's state, kept by libmicrohttpd between calls

  private:
    Reply route(MHD_Connection* connection, const Request& request);

    std::string host_;
    int port_ = 0;
    HttpLimits limits_;
    ScoreApi& api_;
    RankingPage* page_;
    const CountryLookup& countries_;
    std::FILE* accessLog_;
    const TrustedProxies proxies_;
    Metrics metrics_;
    ConnectionGuard guard_;
    MHD_Daemon* daemon_ = nullptr;
    std::atomic<int> requestsUnderWay_{0};
    std::atomic<std::size_t> longBodyBytes_{0};  // reserved by the requests receiving long bodies

    friend struct Callbacks;
};

}  // namespace quintora::server
