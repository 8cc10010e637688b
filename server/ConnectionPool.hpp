#pragma once
// Database connections for readers: each caller gets one to itself, connections are opened as needed up to
// a limit and then reused, and a caller beyond the limit waits for one to come back. The limit keeps a
// burst of clients from opening more connections than the database allows.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace quintora::server {

template <class Connection>
class ConnectionPool {
  public:
    using Open = std::function<std::unique_ptr<Connection>()>;

    ConnectionPool(std::size_t maxConnections, Open open)
        : maxConnections_(maxConnections), open_(std::move(open)) {}

    // One connection, given back to the pool when the lease ends.
    class Lease {
      public:
        Lease(ConnectionPool& pool, std::unique_ptr<Connection> connection)
            : pool_(pool), connection_(std::move(connection)) {}
        ~Lease() { pool_.giveBack(std::move(connection_)); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Connection* operator->() const { return connection_.get(); }
        Connection& operator*() const { return *connection_; }

      private:
        ConnectionPool& pool_;
        std::unique_ptr<Connection> connection_;
    };

    // Throws what opening a connection throws; the pool then has room for another try.
    Lease take() {
        std::unique_lock lock(mutex_);
        returned_.wait(lock, [&] { return !idle_.empty() || opened_ < maxConnections_; });
        if (!idle_.empty()) {
            auto connection = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(connection));
        }
        ++opened_;
        lock.unlock();
        try {
            return Lease(*this, open_());
        } catch (...) {
            giveBack(nullptr);
            throw;
        }
    }

  private:
    void giveBack(std::unique_ptr<Connection> connection) {
        {
            const std::lock_guard lock(mutex_);
            if (connection) {
                idle_.push_back(std::move(connection));
            } else {
                --opened_;
            }
        }
        returned_.notify_one();
    }

    const std::size_t maxConnections_;
    const Open open_;
    std::mutex mutex_;
    std::condition_variable returned_;
    std::vector<std::unique_ptr<Connection>> idle_;
    std::size_t opened_ = 0;
};

}  // namespace quintora::server
