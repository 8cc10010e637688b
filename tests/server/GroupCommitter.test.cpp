// Many writers sharing commits: none returns before the commit holding its write, and one write that
// cannot be stored does not take the others of its batch down with it.
#include "server/GroupCommitter.hpp"

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>

namespace quintora::server {
namespace {

TEST(GroupCommitter, EachWriterReturnsAfterItsOwnCommitAndOnlyTheBadWriteFails) {
    std::mutex mutex;
    std::set<std::string> committed;
    GroupCommitter committer([&](std::span<PendingWrite* const> batch) {
        for (const PendingWrite* write : batch) {
            if (write->score->name == "bad") throw StoreError("refused");
        }
        const std::lock_guard lock(mutex);
        for (const PendingWrite* write : batch) committed.insert(write->score->name);
    });

    constexpr int kWriters = 32;
    std::vector<std::thread> writers;
    std::vector<std::string> outcomes(kWriters);
    for (int i = 0; i < kWriters; ++i) {
        writers.emplace_back([&, i] {
            NewScore score;
            score.name = i == 7 ? "bad" : std::to_string(i) + "w";
            try {
                committer.write(score, WriteMode::Add);
                const std::lock_guard lock(mutex);
                outcomes[i] = committed.contains(score.name) ? "committed" : "returned before its commit";
            } catch (const StoreError& error) {
                outcomes[i] = error.what();
            }
        });
    }
    for (std::thread& writer : writers) writer.join();
    for (int i = 0; i < kWriters; ++i) EXPECT_EQ(outcomes[i], i == 7 ? "refused" : "committed") << i;
    EXPECT_EQ(committed.size(), kWriters - 1u);
}

}  // namespace
}  // namespace quintora::server
