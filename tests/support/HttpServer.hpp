#pragma once
// A small HTTP/1.0 server on 127.0.0.1 and a free port, for the answers a real score server never gives:
// slow, redirecting, wrong, huge. Each request is answered by the test's handler on the server's thread.
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

namespace quintora::testing {

struct HttpExchange {
    std::string head;  // request line and headers
    std::string body;
};

struct HttpAnswer {
    HttpAnswer(int code = 200, std::string text = "", std::string headers = "")
        : status(code), body(std::move(text)), extraHeaders(std::move(headers)) {}
    // Keeps the connection open and never answers.
    static HttpAnswer silence() {
        HttpAnswer answer;
        answer.never = true;
        return answer;
    }
    int status;
    std::string body;
    std::string extraHeaders;  // "Name: value\r\n" lines
    bool never = false;
};

class HttpServer {
public:
    explicit HttpServer(std::function<HttpAnswer(const HttpExchange&)> handler) : handler_(std::move(handler)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(listener_, 16);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~HttpServer() {
        stop_ = true;
        thread_.join();
        for (int held : held_) ::close(held);
        ::close(listener_);
    }

    [[nodiscard]] std::string address() const { return "http://127.0.0.1:" + std::to_string(port_); }
    [[nodiscard]] std::vector<HttpExchange> exchanges() {
        std::lock_guard lock(mutex_);
        return exchanges_;
    }

private:
    void serve() {
        while (!stop_) {
            pollfd ready{listener_, POLLIN, 0};
            if (::poll(&ready, 1, 50) <= 0) continue;
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client >= 0) answer(client);
        }
    }

    void answer(int client) {
        std::string request;
        char buffer[4096];
        std::size_t bodyStart = std::string::npos, bodyLength = 0;
        for (int reads = 0; reads < 1000; ++reads) {  // a request is a few reads; the bound stops a stuck one
            if (bodyStart != std::string::npos && request.size() >= bodyStart + bodyLength) break;
            pollfd ready{client, POLLIN, 0};
            if (::poll(&ready, 1, 2000) <= 0) break;
            const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<std::size_t>(got));
            if (bodyStart == std::string::npos && (bodyStart = request.find("\r\n\r\n")) != std::string::npos) {
                bodyStart += 4;
                const std::size_t field = request.find("Content-Length: ");
                if (field != std::string::npos && field < bodyStart) bodyLength = std::stoul(request.substr(field + 16));
            }
        }
        const HttpExchange exchange{request.substr(0, bodyStart == std::string::npos ? request.size() : bodyStart - 4),
                                    bodyStart == std::string::npos ? "" : request.substr(bodyStart)};
        {
            std::lock_guard lock(mutex_);
            exchanges_.push_back(exchange);
        }
        const HttpAnswer reply = handler_(exchange);
        if (reply.never) {
            held_.push_back(client);
            return;
        }
        const std::string text = "HTTP/1.0 " + std::to_string(reply.status) + " X\r\nContent-Length: " +
                                 std::to_string(reply.body.size()) + "\r\n" + reply.extraHeaders + "\r\n" + reply.body;
        for (std::size_t sent = 0; sent < text.size();) {
            const ssize_t wrote = ::send(client, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
            if (wrote <= 0) break;  // the client hung up, as it does on an answer it will not read
            sent += static_cast<std::size_t>(wrote);
        }
        ::close(client);
    }

    std::function<HttpAnswer(const HttpExchange&)> handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::vector<HttpExchange> exchanges_;
    std::vector<int> held_;
};

}  // namespace quintora::testing
