#pragma once
// Turns many callers' writes into few commits. Each caller hands its write over and waits; one writer
// thread takes everything queued so far and commits it in one transaction, then wakes those callers. A
// durable commit costs one flush to disk whether it holds one write or a hundred, so under load the flushes
// are shared, and no caller returns before the commit that holds its write.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <span>
#include <thread>

#include "server/ScoreStore.hpp"

namespace quintora::server {

struct PendingWrite {
    const NewScore* score = nullptr;
    WriteMode mode = WriteMode::Add;
    bool done = false;
    bool signatureUsed = false;  // set by the commit: the signature was stored before, the write was not
    std::exception_ptr error;
};

class GroupCommitter {
  public:
    // Commits all the writes given in one transaction, or throws and commits none of them.
    using CommitBatch = std::function<void(std::span<PendingWrite* const>)>;

    // Each batch's commit time goes into `latency` when one is given.
    explicit GroupCommitter(CommitBatch commitBatch, LatencyHistogram* latency = nullptr,
                            std::size_t maxBatch = 512);
    // Commits what is queued, then stops the writer thread.
    ~GroupCommitter();
    GroupCommitter(const GroupCommitter&) = delete;
    GroupCommitter& operator=(const GroupCommitter&) = delete;

    // Returns once the write is committed (false when the commit found its signature used); rethrows the
    // commit's error otherwise.
    bool write(const NewScore& score, WriteMode mode);

  private:
    void run();
    void commit(std::span<PendingWrite* const> batch);

    const CommitBatch commitBatch_;
    LatencyHistogram* const latency_;
    const std::size_t maxBatch_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::condition_variable committed_;
    std::deque<PendingWrite*> queue_;
    bool stopping_ = false;
    std::thread writer_;
};

}  // namespace quintora::server
