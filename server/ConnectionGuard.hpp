#pragma once
// Keeps slow clients from holding the server's connections. The HTTP library's timeout counts idle time
// only, so a client sending one byte every few seconds would keep its connection forever: here every
// request must arrive and be answered within a deadline counted from the end of the one before (or from
// the connection's start). And when the connections are all taken, a newcomer is not turned away while
// another address holds more of them: the oldest connection of the address holding the most gives way.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace quintora::server {

class ConnectionGuard {
  public:
    using Clock = std::chrono::steady_clock;

    ConnectionGuard(std::size_t maxConnections, std::chrono::milliseconds requestDeadline);
    ~ConnectionGuard();
    ConnectionGuard(const ConnectionGuard&) = delete;
    ConnectionGuard& operator=(const ConnectionGuard&) = delete;

    // `connection` identifies it until closed(); `socket` is what gets shut down to end it early.
    void opened(const void* connection, int socket, const std::string& address);
    void requestDone(const void* connection);
    void closed(const void* connection);

  private:
    struct Open {
        int socket = -1;
        std::string address;
        Clock::time_point opened;
        Clock::time_point deadline;
    };
    using OpenMap = std::map<const void*, Open>;
    void watch();
    void makeRoomFor(const std::string& address);
    OpenMap::iterator forget(OpenMap::iterator connection);
    OpenMap::iterator end(OpenMap::iterator connection);

    const std::size_t maxConnections_;
    const std::chrono::milliseconds requestDeadline_;
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    OpenMap open_;
    std::map<std::string, std::size_t, std::less<>> perAddress_;
    std::thread watcher_;
};

}  // namespace quintora::server
