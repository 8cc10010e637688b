#include "server/ConnectionGuard.hpp"

#include <sys/socket.h>

#include <algorithm>

namespace quintora::server {

namespace {
constexpr std::chrono::milliseconds kWatchInterval{200};
}

ConnectionGuard::ConnectionGuard(std::size_t maxConnections, std::chrono::milliseconds requestDeadline)
    : maxConnections_(maxConnections), requestDeadline_(requestDeadline), watcher_([this] { watch(); }) {}

ConnectionGuard::~ConnectionGuard() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_one();
    watcher_.join();
}

void ConnectionGuard::opened(const void* connection, int socket, const std::string& address) {
    const auto now = Clock::now();
    const std::lock_guard lock(mutex_);
    open_.insert_or_assign(connection, Open{socket, address, now, now + requestDeadline_});
    ++perAddress_[address];
    if (open_.size() > maxConnections_) makeRoomFor(address);
}

void ConnectionGuard::requestDone(const void* connection) {
    const std::lock_guard lock(mutex_);
    if (const auto found = open_.find(connection); found != open_.end()) {
        found->second.deadline = Clock::now() + requestDeadline_;
    }
}

void ConnectionGuard::closed(const void* connection) {
    const std::lock_guard lock(mutex_);
    if (const auto found = open_.find(connection); found != open_.end()) forget(found);
}

ConnectionGuard::OpenMap::iterator ConnectionGuard::forget(OpenMap::iterator connection) {
    const auto count = perAddress_.find(connection->second.address);
    if (--count->second == 0) perAddress_.erase(count);
    return open_.erase(connection);
}

ConnectionGuard::OpenMap::iterator ConnectionGuard::end(OpenMap::iterator connection) {
    // Shut down, not closed: the library still owns the descriptor and closes it once its thread sees the
    // end of the connection. Forgotten at once, so that it is neither counted nor ended twice.
    ::shutdown(connection->second.socket, SHUT_RDWR);
    return forget(connection);
}

void ConnectionGuard::makeRoomFor(const std::string& address) {
    // The address holding the most gives way; between equals, the others before the newcomer's own.
    auto fullest = perAddress_.begin();
    for (auto entry = perAddress_.begin(); entry != perAddress_.end(); ++entry) {
        if (entry->second > fullest->second ||
            (entry->second == fullest->second && fullest->first == address))
            fullest = entry;
    }
    auto oldest = open_.end();
    for (auto entry = open_.begin(); entry != open_.end(); ++entry) {
        const Open& open = entry->second;
        if (open.address == fullest->first && (oldest == open_.end() || open.opened < oldest->second.opened))
            oldest = entry;
    }
    if (oldest != open_.end()) end(oldest);
}

void ConnectionGuard::watch() {
    std::unique_lock lock(mutex_);
    while (!stop_.wait_for(lock, kWatchInterval, [&] { return stopping_; })) {
        const auto now = Clock::now();
        for (auto connection = open_.begin(); connection != open_.end();) {
            connection = connection->second.deadline <= now ? end(connection) : std::next(connection);
        }
    }
}

}  // namespace quintora::server
