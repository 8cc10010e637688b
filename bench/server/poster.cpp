// Load for the score server's benchmarks and the cluster test: many concurrent clients, each on its own
// kept-alive connection. By default each posts signed scores with names no other post uses and counts those
// answered "OK"; with --acked it lists those names, so that a crash test can check every one is still
// stored. --mode update sends update-score posts that many clients aim at the same few entries; --mode read
// asks for the game's ranking page. --reconnect keeps a client going after its connection is lost, and
// --failures writes the time (milliseconds since 1970) and status of every request that failed (status 0:
// no answer), so that a script can tell how long a fault kept requests failing; after a failure such a
// client waits 50 ms before its next request. --replay FILE adds that replay file to each post (signed like
// the rest), as the game posts its runs.
// Usage: score_poster HOST PORT [--clients N] [--seconds S] [--max-posts N] [--acked FILE]
//                               [--mode post|update|read] [--reconnect] [--failures FILE] [--replay FILE]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
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
    std::string mode = "post";
    bool reconnect = false;
    std::string failuresFile;
    std::string replay;  // base64, empty for none
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
    // A request no one answers within this long counts as failed, so a client never hangs on a lost peer.
    const timeval timeout{20, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    return fd;
}

// In update mode the clients share a few names on a few devices, so that updates of one entry race. The
// server takes each signature once, so every post's score text differs from every other's, in this run
// (the client and the count) and across runs (the process id in the decimals).
std::string request(const Settings& settings, const std::string& name, long number, int client) {
    if (settings.mode == "read") {
        return "GET /api/get-scores?gamename=Quintora&category=Pro HTTP/1.1\r\nHost: " + settings.host +
               "\r\n\r\n";
    }
    const bool update = settings.mode == "update";
    const std::string category = update ? (number % 2 ? "Pro" : "Amateur") : "Pro";
    FormFields fields{
        {"qs_category", category},
        {"qs_playername", update ? "racer" + std::to_string(number % 5) : name},
        {"qs_score", std::to_string(update ? number : number % 1000) + "." +
                         std::to_string(getpid() % 10000) + std::to_string(100 + client % 100)}};
    if (!settings.replay.empty()) fields.emplace_back("qs_replay", settings.replay);
    std::string body;
    for (const auto& [key, value] : fields) {
        body += encodeData(key);
        body += '=';
        body += encodeData(value);
        body += '&';
    }
    const std::string device = update ? "racer-device-" + std::to_string(client % 3) : "bench";
    body += "qs_device_id=" + device +
            "&qs_gamename=Quintora&qs_prot_ver=1.1&qs_hash=" + scoreHashOf(fields, kGameKey);
    return std::string("POST /api/") + (update ? "update-score" : "post-score") +
           " HTTP/1.1\r\nHost: " + settings.host +
           "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

// Reads one response and gives its status, 0 when the connection failed. `acknowledged`: the answer is
// what success means for the request (a post's "OK", a page's 200).
int readResponse(int fd, bool read, bool& acknowledged, bool& mustClose) {
    std::string response;
    char buffer[4096];
    std::size_t headerEnd = std::string::npos;
    std::size_t contentLength = 0;
    std::string head;
    acknowledged = false;
    while (headerEnd == std::string::npos || response.size() < headerEnd + 4 + contentLength) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) return 0;
        response.append(buffer, static_cast<std::size_t>(got));
        if (headerEnd == std::string::npos && (headerEnd = response.find("\r\n\r\n")) != std::string::npos) {
            // Header names in any case: HAProxy passes them on in lower case.
            head = response.substr(0, headerEnd);
            std::transform(head.begin(), head.end(), head.begin(), [](char c) { return std::tolower(c); });
            const std::size_t field = head.find("content-length: ");
            contentLength = field != std::string::npos ? std::stoul(head.substr(field + 16)) : 0;
        }
    }
    const int status = response.size() > 12 ? std::atoi(response.c_str() + 9) : 0;
    mustClose = head.find("connection: close") != std::string::npos;
    acknowledged = status == 200 && (read || response.substr(headerEnd + 4, contentLength) == "OK");
    return status;
}

long long millisecondsSince1970() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s HOST PORT [--clients N] [--seconds S] [--max-posts N] [--acked FILE] "
                     "[--mode post|update|read] [--reconnect] [--failures FILE] [--replay FILE]\n",
                     argv[0]);
        return 2;
    }
    Settings settings;
    settings.host = argv[1];
    settings.port = std::atoi(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--reconnect") {
            settings.reconnect = true;
            continue;
        }
        if (i + 1 >= argc) break;
        const std::string value = argv[++i];
        if (option == "--clients") settings.clients = std::atoi(value.c_str());
        if (option == "--seconds") settings.seconds = std::atof(value.c_str());
        if (option == "--max-posts") settings.maxPosts = std::atol(value.c_str());
        if (option == "--acked") settings.ackedFile = value;
        if (option == "--mode") settings.mode = value;
        if (option == "--failures") settings.failuresFile = value;
        if (option == "--replay") {
            std::ifstream in(value, std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            settings.replay = base64Text(bytes);
        }
    }
    const bool read = settings.mode == "read";

    std::atomic<long> started{0}, acknowledged{0}, refused{0};
    std::vector<std::vector<std::string>> ackedNames(static_cast<std::size_t>(settings.clients));
    std::vector<std::vector<double>> latencies(static_cast<std::size_t>(settings.clients));
    std::mutex failuresMutex;
    std::vector<std::pair<long long, int>> failures;
    const auto begin = Clock::now();
    const auto deadline = begin + std::chrono::duration<double>(settings.seconds);
    std::vector<std::thread> clients;
    for (int client = 0; client < settings.clients; ++client) {
        clients.emplace_back([&, client] {
            const auto fail = [&](int status) {
                const std::lock_guard lock(failuresMutex);
                failures.emplace_back(millisecondsSince1970(), status);
            };
            int fd = connectTo(settings);
            for (long i = 0; Clock::now() < deadline && started++ < settings.maxPosts; ++i) {
                if (fd < 0) {
                    if (!settings.reconnect) break;
                    if ((fd = connectTo(settings)) < 0) {
                        fail(0);
                        std::this_thread::sleep_for(std::chrono::milliseconds(20));
                        continue;
                    }
                }
                std::string name = std::to_string(client);
                name += 'n';
                name += std::to_string(i);
                const std::string text = request(settings, name, i, client);
                const auto sent = Clock::now();
                bool ok = false, mustClose = false;
                const int status = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size())
                                       ? readResponse(fd, read, ok, mustClose)
                                       : 0;
                if (ok) {
                    ++acknowledged;
                    latencies[static_cast<std::size_t>(client)].push_back(
                        std::chrono::duration<double>(Clock::now() - sent).count());
                    if (!read) ackedNames[static_cast<std::size_t>(client)].push_back(name);
                } else {
                    fail(status);
                    if (status != 0) ++refused;
                    // As a client would, wait a little before trying again rather than spin on the error.
                    if (settings.reconnect) std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
                if (status == 0 || mustClose) {
                    close(fd);
                    fd = -1;  // the server went away: what it acknowledged so far is what counts
                }
            }
            if (fd >= 0) close(fd);
        });
    }
    for (std::thread& thread : clients) thread.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - begin).count();

    if (!settings.ackedFile.empty()) {
        std::ofstream out(settings.ackedFile);
        for (const auto& names : ackedNames)
            for (const std::string& name : names) out << name << '\n';
    }
    if (!settings.failuresFile.empty()) {
        std::ofstream out(settings.failuresFile);
        for (const auto& [when, status] : failures) out << when << ' ' << status << '\n';
    }
    std::vector<double> all;
    for (const auto& client : latencies) all.insert(all.end(), client.begin(), client.end());
    std::sort(all.begin(), all.end());
    const double p99 = all.empty() ? 0.0 : all[std::min(all.size() - 1, all.size() * 99 / 100)];
    std::printf("%d clients: %ld %s acknowledged in %.2f s (%.0f/s), %ld refused, %zu failed, p99 %.1f ms\n",
                settings.clients, acknowledged.load(), read ? "reads" : "posts", elapsed,
                static_cast<double>(acknowledged.load()) / elapsed, refused.load(), failures.size(),
                p99 * 1000.0);
    return 0;
}
