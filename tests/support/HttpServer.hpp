#pragma once
// A small HTTP server on 127.0.0.1 and a free port, for the answers a real score server never gives:
// redirecting, wrong, huge, late. Each request is answered by the test's handler on a thread of its own, so
// a slow answer can come after a later quick one.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/UrlConnection.hpp"

namespace quintora::testing {

// Runs the game's network until every exchange has ended; each ends within its timeout.
inline void settleConnections() {
    for (int i = 0; i < 400 && platform::activeUrlConnections() > 0; ++i) {
        platform::waitForUrlConnections(50);
        platform::pollUrlConnections();
    }
}

struct HttpExchange {
    std::string head;  // request line and headers
    std::string body;
};

struct HttpAnswer {
    int status = 200;
    std::string body, extraHeaders = "";  // "Name: value\r\n" lines
};

class HttpServer {
  public:
    explicit HttpServer(std::function<HttpAnswer(const HttpExchange&)> handler)
        : handler_(std::move(handler)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(listener_, 16);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            while (!stop_) {
                pollfd ready{listener_, POLLIN, 0};
                if (::poll(&ready, 1, 50) <= 0) continue;
                const int client = ::accept(listener_, nullptr, nullptr);
                if (client >= 0) answering_.emplace_back([this, client] { answer(client); });
            }
        });
    }
    ~HttpServer() {
        stop_ = true;
        thread_.join();
        for (std::thread& answering : answering_) answering.join();
        ::close(listener_);
    }

    [[nodiscard]] std::string address() const { return "http://127.0.0.1:" + std::to_string(port_); }
    [[nodiscard]] std::vector<HttpExchange> exchanges() {
        std::lock_guard lock(mutex_);
        return exchanges_;
    }

  private:
    void answer(int client) {
        std::string request;
        std::size_t headEnd = std::string::npos, bodyLength = 0;
        char buffer[4096];
        // A request takes a few reads; the bound and the wait stop a stuck one.
        for (int reads = 0; reads < 1000; ++reads) {
            if (headEnd != std::string::npos && request.size() >= headEnd + 4 + bodyLength) break;
            pollfd ready{client, POLLIN, 0};
            const ssize_t got = ::poll(&ready, 1, 2000) > 0 ? ::recv(client, buffer, sizeof buffer, 0) : 0;
            if (got <= 0) break;
            request.append(buffer, static_cast<std::size_t>(got));
            if (headEnd == std::string::npos && (headEnd = request.find("\r\n\r\n")) != std::string::npos) {
                const std::size_t field = request.find("Content-Length: ");
                if (field < headEnd) bodyLength = std::stoul(request.substr(field + 16));
            }
        }
        const HttpExchange exchange{request.substr(0, headEnd),
                                    headEnd == std::string::npos ? "" : request.substr(headEnd + 4)};
        std::unique_lock lock(mutex_);
        exchanges_.push_back(exchange);
        lock.unlock();
        const HttpAnswer reply = handler_(exchange);
        const std::string text = "HTTP/1.0 " + std::to_string(reply.status) +
                                 " X\r\nContent-Length: " + std::to_string(reply.body.size()) + "\r\n" +
                                 reply.extraHeaders + "\r\n" + reply.body;
        // Stops early when the client hangs up, as it does on an answer it will not read.
        for (std::size_t sent = 0; sent < text.size();) {
            const ssize_t wrote = ::send(client, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
            if (wrote <= 0) break;
            sent += static_cast<std::size_t>(wrote);
        }
        ::close(client);
    }

    std::function<HttpAnswer(const HttpExchange&)> handler_;
    int listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::vector<std::thread> answering_;  // touched by the accepting thread only, until it has ended
    std::mutex mutex_;
    std::vector<HttpExchange> exchanges_;
};

}  // namespace quintora::testing
