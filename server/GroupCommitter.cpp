#include "server/GroupCommitter.hpp"

#include <chrono>
#include <vector>

namespace quintora::server {

GroupCommitter::GroupCommitter(CommitBatch commitBatch, LatencyHistogram* latency, std::size_t maxBatch)
    : commitBatch_(std::move(commitBatch)),
      latency_(latency),
      maxBatch_(maxBatch),
      writer_([this] { run(); }) {}

GroupCommitter::~GroupCommitter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_one();
    writer_.join();
}

bool GroupCommitter::write(const NewScore& score, WriteMode mode) {
    PendingWrite pending{&score, mode, false, false, nullptr};
    std::unique_lock lock(mutex_);
    if (stopping_) throw StoreError("the store is shutting down");
    queue_.push_back(&pending);
    queued_.notify_one();
    committed_.wait(lock, [&] { return pending.done; });
    if (pending.error) std::rethrow_exception(pending.error);
    return !pending.signatureUsed;
}

void GroupCommitter::run() {
    std::vector<PendingWrite*> batch;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            queued_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            const std::size_t count = std::min(queue_.size(), maxBatch_);
            batch.assign(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(count));
            queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(count));
        }
        commit(batch);
        {
            const std::lock_guard lock(mutex_);
            for (PendingWrite* pending : batch) pending->done = true;
        }
        committed_.notify_all();
    }
}

void GroupCommitter::commit(std::span<PendingWrite* const> batch) {
    try {
        const auto start = std::chrono::steady_clock::now();
        commitBatch_(batch);
        if (latency_ != nullptr) {
            latency_->observe(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        return;
    } catch (...) {
        if (batch.size() == 1) {
            batch.front()->error = std::current_exception();
            return;
        }
    }
    // One bad write must not sink the others that happened to share its transaction: try each alone.
    for (PendingWrite* pending : batch) {
        try {
            commitBatch_(std::span<PendingWrite* const>(&pending, 1));
        } catch (...) {
            pending->error = std::current_exception();
        }
    }
}

}  // namespace quintora::server
