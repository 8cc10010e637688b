#include "server/HttpServer.hpp"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netdb.h>
#include <strings.h>
#include <unistd.h>

#include <cstring>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>

namespace quintora::server {

struct HttpServer::Request {
    std::string method;
    std::string path;
    std::string address;
    std::string body;
    bool bodyTooLarge = false;  // or not to be kept: its bytes are read and dropped
    bool busy = false;          // its long body found no room
    std::size_t reserved = 0;   // bytes of HttpLimits::maxLongBodyBytes held for its body
    std::size_t discarded = 0;
    int status = 0;
    std::size_t bytesSent = 0;
};

namespace {

constexpr std::size_t kMaxDiscardedBytes = 256 * 1024;
constexpr unsigned kConnectionHeadroom = 64;

std::string peerAddress(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (info == nullptr || info->client_addr == nullptr) return {};
    const sockaddr* address = info->client_addr;
    const socklen_t length = address->sa_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
    char host[NI_MAXHOST] = {};
    if (getnameinfo(address, length, host, sizeof host, nullptr, 0, NI_NUMERICHOST) != 0) return {};
    return host;
}

MHD_Result send(MHD_Connection* connection, HttpServer::Request& request, const Reply& reply) {
    MHD_Response* response = MHD_create_response_from_buffer(
        reply.body.size(), const_cast<char*>(reply.body.data()), MHD_RESPMEM_MUST_COPY);
    if (response == nullptr) return MHD_NO;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.contentType.c_str());
    // Whatever a stored text holds, no page of this server runs script, loads from elsewhere or sits in
    // another site's frame. (Fetching from itself is allowed for the tools that read robots.txt from
    // within the page; without script the page itself fetches nothing.)
    MHD_add_response_header(
        response, "Content-Security-Policy",
        "default-src 'none'; style-src 'self'; font-src 'self'; img-src 'self'; "
        "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
    MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
    MHD_add_response_header(response, "Referrer-Policy", "no-referrer");
    for (const auto& [name, value] : reply.headers)
        MHD_add_response_header(response, name.c_str(), value.c_str());
    const MHD_Result result = MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
    MHD_destroy_response(response);
    request.status = reply.status;
    request.bytesSent = reply.body.size();
    return result;
}

// Every X-Forwarded-For header of the request, in order, as one list.
std::string forwardedFor(MHD_Connection* connection) {
    std::string list;
    MHD_get_connection_values(
        connection, MHD_HEADER_KIND,
        +[](void* out, MHD_ValueKind, const char* name, const char* value) {
            if (value != nullptr && strcasecmp(name, "X-Forwarded-For") == 0) {
                auto& joined = *static_cast<std::string*>(out);
                if (!joined.empty()) joined += ',';
                joined += value;
            }
            return MHD_YES;
        },
        &list);
    return list;
}

// The routes the request counters know; anything else is "other", so that no client can add series.
std::string_view routeName(std::string_view path, bool isAsset) {
    for (const std::string_view known : {"/", "/api/post-score", "/api/update-score", "/api/get-scores",
                                         "/api/get-rank", "/api/replay", "/healthz", "/metrics"}) {
        if (path == known) return known;
    }
    return isAsset ? "asset" : "other";
}

bool isPostRoute(std::string_view path) { return path == "/api/post-score" || path == "/api/update-score"; }

// The largest body a request to `path` may have.
std::size_t bodyLimit(const HttpLimits& limits, std::string_view path) {
    return isPostRoute(path) ? std::max(limits.maxBody, limits.maxBodyWithReplay) : limits.maxBody;
}

// Whether a form body has a replay field, as the game names it (unescaped).
bool carriesReplay(std::string_view body) {
    const std::string key = std::string(kReplayField) + "=";
    return body.starts_with(key) || body.find("&" + key) != std::string_view::npos;
}

Reply serverBusy() {
    Reply reply = plainReply(503, "server busy");
    reply.headers.emplace_back("Retry-After", "5");
    return reply;
}

Reply methodNotAllowed(const char* allowed) {
    Reply reply = plainReply(405, "method not allowed");
    reply.headers.emplace_back("Allow", allowed);
    return reply;
}

// The headers that say where a request's body ends, each occurrence counted.
struct Framing {
    int lengths = 0;
    std::string length;
    int codings = 0;
    std::string coding;
};

MHD_Result countFraming(void* framing, MHD_ValueKind /*kind*/, const char* name, const char* value) {
    auto& seen = *static_cast<Framing*>(framing);
    if (strcasecmp(name, MHD_HTTP_HEADER_CONTENT_LENGTH) == 0) {
        ++seen.lengths;
        seen.length = value ? value : "";
    } else if (strcasecmp(name, MHD_HTTP_HEADER_TRANSFER_ENCODING) == 0) {
        ++seen.codings;
        seen.coding = value ? value : "";
    }
    return MHD_YES;
}

// A request whose body's end could be read in two ways, one proxy's way and another's, is refused before
// anything reads it (and the connection closed), so that no part of it can pass for a request of its own.
std::optional<Reply> ambiguousFraming(MHD_Connection* connection) {
    Framing framing;
    MHD_get_connection_values(connection, MHD_HEADER_KIND, &countFraming, &framing);
    std::optional<Reply> refusal;
    const bool lengthIsNumber =
        !framing.length.empty() && framing.length.find_first_not_of("0123456789") == std::string::npos;
    if (framing.lengths > 1 || (framing.lengths == 1 && !lengthIsNumber) ||
        (framing.lengths > 0 && framing.codings > 0)) {
        refusal = plainReply(400, "ambiguous message framing");
    } else if (framing.codings > 1 ||
               (framing.codings == 1 && strcasecmp(framing.coding.c_str(), "chunked") != 0)) {
        refusal = plainReply(501, "transfer coding not supported");
    }
    if (refusal) refusal->headers.emplace_back(MHD_HTTP_HEADER_CONNECTION, "close");
    return refusal;
}

bool parseListenAddress(const std::string& host, int port, sockaddr_storage& storage, bool& ipv6) {
    std::memset(&storage, 0, sizeof storage);
    auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
    if (inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<std::uint16_t>(port));
        ipv6 = false;
        return true;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
    if (inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<std::uint16_t>(port));
        ipv6 = true;
        return true;
    }
    return false;
}

}  // namespace

struct Callbacks {
    // Holds room for a body of `size` bytes among the long bodies being received; false when there is none.
    static bool reserveLongBody(HttpServer& server, HttpServer::Request& request, std::size_t size) {
        if (size <= request.reserved) return true;
        const std::size_t more = size - request.reserved;
        if (server.longBodyBytes_.fetch_add(more) + more > server.limits_.maxLongBodyBytes) {
            server.longBodyBytes_ -= more;
            return false;
        }
        request.reserved = size;
        return true;
    }

    // Counts the reply in the metrics and queues it. The body is done with: its room among the long bodies
    // is given back before the client can hear the answer and send the next one.
    static MHD_Result answer(HttpServer& server, MHD_Connection* connection, HttpServer::Request& request,
                             const Reply& reply) {
        const bool isAsset = server.page_ != nullptr && server.page_->asset(request.path) != nullptr;
        server.metrics_.countRequest(routeName(request.path, isAsset), reply.status);
        if (isPostRoute(request.path) && reply.status >= 400 && reply.status < 500) {
            server.metrics_.countRefusal(reply.body);
        }
        server.longBodyBytes_ -= std::exchange(request.reserved, 0);
        return send(connection, request, reply);
    }

    static MHD_Result handle(void* self, MHD_Connection* connection, const char* url, const char* method,
                             const char* /*version*/, const char* uploadData, std::size_t* uploadSize,
                             void** state) {
        auto& server = *static_cast<HttpServer*>(self);
        if (*state == nullptr) {
            auto* request = new HttpServer::Request();
            request->method = method;
            request->path = url;
            request->address =
                server.proxies_.clientAddress(peerAddress(connection), forwardedFor(connection));
            *state = request;
            ++server.requestsUnderWay_;
            if (auto refusal = ambiguousFraming(connection))
                return answer(server, connection, *request, *refusal);
            // A declared body over the limit is refused before a byte of it is read.
            const char* length =
                MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
            const std::size_t declared = length ? std::strtoull(length, nullptr, 10) : 0;
            if (declared > bodyLimit(server.limits_, url)) {
                request->bodyTooLarge = true;
                return answer(server, connection, *request, plainReply(413, "body too large"));
            }
            if (declared > server.limits_.maxBody && !reserveLongBody(server, *request, declared)) {
                request->bodyTooLarge = true;
                return answer(server, connection, *request, serverBusy());
            }
            return MHD_YES;
        }
        auto& request = *static_cast<HttpServer::Request*>(*state);
        if (*uploadSize != 0) {
            const std::size_t size = request.body.size() + *uploadSize;
            request.bodyTooLarge = request.bodyTooLarge || size > bodyLimit(server.limits_, request.path);
            if (!request.bodyTooLarge && size > server.limits_.maxBody &&
                !reserveLongBody(server, request, size)) {
                request.bodyTooLarge = request.busy = true;
            }
            if (!request.bodyTooLarge) {
                request.body.append(uploadData, *uploadSize);
            } else {
                // A body without a declared length is read to its end so the client gets its answer, but
                // only so far: a client that keeps streaming loses its connection.
                request.body.clear();
                request.discarded += *uploadSize;
                if (request.discarded > kMaxDiscardedBytes) return MHD_NO;
            }
            *uploadSize = 0;
            return MHD_YES;
        }
        if (request.status != 0) return MHD_YES;  // answered before the body arrived
        if (request.busy) return answer(server, connection, request, serverBusy());
        if (request.bodyTooLarge ||
            (request.body.size() > server.limits_.maxBody && !carriesReplay(request.body)))
            return answer(server, connection, request, plainReply(413, "body too large"));
        return answer(server, connection, request, server.route(connection, request));
    }

    static void connectionChanged(void* self, MHD_Connection* connection, void** /*socketState*/,
                                  MHD_ConnectionNotificationCode change) {
        auto& server = *static_cast<HttpServer*>(self);
        auto& guard = server.guard_;
        if (change == MHD_CONNECTION_NOTIFY_CLOSED) {
            server.metrics_.connectionClosed();
            return guard.closed(connection);
        }
        server.metrics_.connectionOpened();
        const MHD_ConnectionInfo* socket =
            MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
        if (socket != nullptr) guard.opened(connection, socket->connect_fd, peerAddress(connection));
    }

    static void completed(void* self, MHD_Connection* connection, void** state,
                          MHD_RequestTerminationCode code) {
        auto& server = *static_cast<HttpServer*>(self);
        server.guard_.requestDone(connection);
        auto* request = static_cast<HttpServer::Request*>(*state);
        if (request == nullptr) return;
        *state = nullptr;
        if (server.accessLog_ != nullptr) {
            std::string line = request->address + " \"" + request->method + " " + request->path + "\" " +
                               std::to_string(request->status) + " " + std::to_string(request->bytesSent) +
                               (code == MHD_REQUEST_TERMINATED_COMPLETED_OK ? "" : " aborted");
            // The path arrives decoded: a client must not be able to start a false line of its own.
            for (char& c : line) {
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
            }
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), server.accessLog_);
        }
        server.longBodyBytes_ -= request->reserved;
        delete request;
        --server.requestsUnderWay_;
    }
};

HttpServer::HttpServer(const std::string& host, int port, const HttpLimits& limits, ScoreApi& api,
                       const CountryLookup& countries, std::FILE* accessLog, RankingPage* page,
                       TrustedProxies proxies)
    : host_(host),
      limits_(limits),
      api_(api),
      page_(page),
      countries_(countries),
      accessLog_(accessLog),
      proxies_(std::move(proxies)),
      guard_(limits.maxConnections, std::chrono::seconds(limits.requestDeadlineSeconds)) {
    sockaddr_storage address{};
    bool ipv6 = false;
    if (!parseListenAddress(host, port, address, ipv6)) {
        throw std::runtime_error("cannot listen on '" + host + "': not a numeric IPv4 or IPv6 address");
    }
    unsigned flags = MHD_USE_THREAD_PER_CONNECTION | MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_POLL |
                     MHD_USE_ITC | MHD_USE_ERROR_LOG;
    // An IPv6 socket takes IPv4 clients too, so that [::] listens on every address as it promises.
    if (ipv6) flags |= MHD_USE_DUAL_STACK;
    daemon_ = MHD_start_daemon(flags, 0, nullptr, nullptr, &Callbacks::handle, this,               //
                               MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&address),        //
                               MHD_OPTION_NOTIFY_COMPLETED, &Callbacks::completed, this,           //
                               MHD_OPTION_NOTIFY_CONNECTION, &Callbacks::connectionChanged, this,  //
                               // Past the limit the guard makes room; the library's own stops a flood.
                               MHD_OPTION_CONNECTION_LIMIT, limits.maxConnections + kConnectionHeadroom,  //
                               MHD_OPTION_PER_IP_CONNECTION_LIMIT, limits.maxConnectionsPerAddress,       //
                               MHD_OPTION_CONNECTION_TIMEOUT, limits.idleTimeoutSeconds,                  //
                               MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<std::size_t>(32 * 1024),   //
                               MHD_OPTION_LISTEN_BACKLOG_SIZE, 1024u,                                     //
                               MHD_OPTION_END);
    if (daemon_ == nullptr) {
        throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port) + ": " +
                                 std::strerror(errno));
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
    port_ = info ? info->port : port;
}

HttpServer::~HttpServer() { shutdown(std::chrono::milliseconds(0)); }

std::string HttpServer::url() const {
    const bool ipv6 = host_.find(':') != std::string::npos;
    return "http://" + (ipv6 ? "[" + host_ + "]" : host_) + ":" + std::to_string(port_);
}

void HttpServer::shutdown(std::chrono::milliseconds grace) {
    if (daemon_ == nullptr) return;
    const MHD_socket listening = MHD_quiesce_daemon(daemon_);
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (requestsUnderWay_.load() > 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    MHD_stop_daemon(daemon_);
    if (listening != MHD_INVALID_SOCKET) close(listening);
    daemon_ = nullptr;
}

Reply HttpServer::route(MHD_Connection* connection, const Request& request) {
    Caller caller{request.address, nullptr};
    if (!countries_.headerName().empty()) {
        caller.countryHeader =
            MHD_lookup_connection_value(connection, MHD_HEADER_KIND, countries_.headerName().c_str());
    }
    const bool isGet = request.method == "GET" || request.method == "HEAD";
    const char* ifNoneMatch =
        MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_IF_NONE_MATCH);
    const bool isPost = request.method == "POST";
    if (isPostRoute(request.path)) {
        if (!isPost) return methodNotAllowed("POST");
        return api_.post(request.body,
                         request.path == "/api/post-score" ? WriteMode::Add : WriteMode::KeepBest, caller);
    }
    if (request.path == "/api/get-scores") {
        if (!isGet) return methodNotAllowed("GET, HEAD");
        return api_.scores(
            [connection](const char* name) {
                return MHD_lookup_connection_value(connection, MHD_GET_ARGUMENT_KIND, name);
            },
            caller);
    }
    if (request.path == "/api/get-rank") {
        if (!isGet) return methodNotAllowed("GET, HEAD");
        return api_.rank([connection](const char* name) {
            return MHD_lookup_connection_value(connection, MHD_GET_ARGUMENT_KIND, name);
        });
    }
    if (page_ != nullptr && request.path == "/") {
        if (!isGet) return methodNotAllowed("GET, HEAD");
        return unlessHeld(ifNoneMatch, page_->page([connection](const char* name) {
            return MHD_lookup_connection_value(connection, MHD_GET_ARGUMENT_KIND, name);
        }));
    }
    if (const Reply* asset = page_ ? page_->asset(request.path) : nullptr) {
        if (!isGet) return methodNotAllowed("GET, HEAD");
        return unlessHeld(ifNoneMatch, *asset);
    }
    if (request.path == "/api/replay") {
        if (!isGet) return methodNotAllowed("GET, HEAD");
        return api_.replay([connection](const char* name) {
            return MHD_lookup_connection_value(connection, MHD_GET_ARGUMENT_KIND, name);
        });
    }
    if (request.path == "/healthz") {
        if (!isGet) return methodNotAllowed("GET, HEAD");
        return api_.health();
    }
    if (request.path == "/metrics") {
        if (!isGet) return methodNotAllowed("GET, HEAD");
        return Reply{200, "text/plain; version=0.0.4; charset=utf-8",
                     metrics_.text(api_.pageCacheStats(), api_.commitLatency(), api_.verificationStats())};
    }
    return plainReply(404, "not found");
}

}  // namespace quintora::server
