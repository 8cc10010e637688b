// Load for the score server's benchmarks: many concurrent clients, each on its own kept-alive connection,
// posting signed scores with names no other post uses, and counting the posts answered "OK". With --acked
// it lists those names, so that a crash test can check every one of them is still stored.
// Usage: score_poster HOST PORT [--clients N] [--seconds S] [--max-posts N] [--acked FILE]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "online/GameKey.hpp"
#include "online/ScoreForm.hpp"

namespace {

using namespace quintora;
using Clock = std::chrono::steady_clock;

struct Settings {
    std::string host;
    int port = 0;
    int clients = 32;
    double seconds = 10;
    long maxPosts = 1'000'000;
    std::string ackedFile;
};

int connectTo(const Settings& settings) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(settings.port));
    inet_pton(AF_INET, settings.host.c_str(), &address.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    const int yes = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    return fd;
}

std::string postRequest(const Settings& settings, const std::string& name, long number) {
    FormFields fields{
        {"qs_category", "Pro"}, {"qs_playername", name}, {"qs_score", std::to_string(number % 1000)}};
    std::string body;
    for (const auto& [key, value] : fields) {
        body += encodeData(key);
        body += '=';
        body += encodeData(value);
        body += '&';
    }
    body +=
        "qs_device_id=bench&qs_gamename=Quintora&qs_prot_ver=1.1&qs_hash=" + scoreHashOf(fields, kGameKey);
    return "POST /api/post-score HTTP/1.1\r\nHost: " + settings.host +
           "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

// Reads one response; true when it is "200" with the body "OK". False also when the connection failed.
bool readAcknowledgement(int fd, bool& connectionLost) {
    std::string response;
    char buffer[1024];
    std::size_t headerEnd = std::string::npos;
    std::size_t contentLength = 0;
    while (headerEnd == std::string::npos || response.size() < headerEnd + 4 + contentLength) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            connectionLost = true;
            return false;
        }
        response.append(buffer, static_cast<std::size_t>(got));
        if (headerEnd == std::string::npos && (headerEnd = response.find("\r\n\r\n")) != std::string::npos) {
            const std::size_t field = response.find("Content-Length: ");
            contentLength = field < headerEnd ? std::stoul(response.substr(field + 16)) : 0;
        }
    }
    return response.starts_with("HTTP/1.1 200") && response.substr(headerEnd + 4, contentLength) == "OK";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s HOST PORT [--clients N] [--seconds S] [--max-posts N] [--acked FILE]\n",
                     argv[0]);
        return 2;
    }
    Settings settings;
    settings.host = argv[1];
    settings.port = std::atoi(argv[2]);
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--clients") settings.clients = std::atoi(argv[i + 1]);
        if (option == "--seconds") settings.seconds = std::atof(argv[i + 1]);
        if (option == "--max-posts") settings.maxPosts = std::atol(argv[i + 1]);
        if (option == "--acked") settings.ackedFile = argv[i + 1];
    }

    std::atomic<long> started{0}, acknowledged{0}, refused{0};
    std::vector<std::vector<std::string>> ackedNames(static_cast<std::size_t>(settings.clients));
    const auto begin = Clock::now();
    const auto deadline = begin + std::chrono::duration<double>(settings.seconds);
    std::vector<std::thread> clients;
    for (int client = 0; client < settings.clients; ++client) {
        clients.emplace_back([&, client] {
            const int fd = connectTo(settings);
            if (fd < 0) return;
            for (long i = 0; Clock::now() < deadline && started++ < settings.maxPosts; ++i) {
                std::string name = std::to_string(client);
                name += 'n';
                name += std::to_string(i);
                const std::string request = postRequest(settings, name, i);
                if (write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) break;
                bool lost = false;
                if (readAcknowledgement(fd, lost)) {
                    ++acknowledged;
                    ackedNames[static_cast<std::size_t>(client)].push_back(name);
                } else if (lost) {
                    break;  // the server went away: what it acknowledged so far is what counts
                } else {
                    ++refused;
                }
            }
            close(fd);
        });
    }
    for (std::thread& thread : clients) thread.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - begin).count();

    if (!settings.ackedFile.empty()) {
        std::ofstream out(settings.ackedFile);
        for (const auto& names : ackedNames)
            for (const std::string& name : names) out << name << '\n';
    }
    std::printf("%d clients: %ld posts acknowledged in %.2f s (%.0f/s), %ld refused\n", settings.clients,
                acknowledged.load(), elapsed, static_cast<double>(acknowledged.load()) / elapsed,
                refused.load());
    return 0;
}
