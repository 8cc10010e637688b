#pragma once
// Verifies posted runs: a few worker threads take pending entries from the store, run the game's verifier
// on each replay in a sandbox (`VERIFIER --verify -`, one JSON line back) and store the verdict. The store
// is the queue: entries wait there however many are posted, survive a restart, and servers sharing a
// database verify each one once. A post wakes a worker at once; a periodic scan finds the posts of other
// servers and claims whose server died.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/Clock.hpp"
#include "server/Sandbox.hpp"
#include "server/ScoreStore.hpp"

namespace quintora::server {

struct VerifierSettings {
    std::string program;   // the game binary
    unsigned workers = 0;  // verifications at once; 0 verifies nothing
    SandboxLimits limits = {};
    std::chrono::milliseconds scanInterval{3000};
};

// The verdict a verifier's run gives an entry, and why when it is not verified.
struct Judgement {
    Verdict verdict = Verdict::Invalid;
    std::string reason;
};

// What the verifier's run says of the entry's replay; nothing when it did not run (it could not be
// started, or was stopped), so that the entry stays pending.
[[nodiscard]] std::optional<Judgement> judge(const SandboxResult& run, const ClaimedReplay& claimed);

// The game binary beside the program at `self` ("quintora" in the same folder, or in the build tree's app
// folder beside the server's), else /usr/games/quintora.
[[nodiscard]] std::string defaultVerifier(const std::string& self);

class VerifierPool {
  public:
    VerifierPool(ScoreStore& store, VerifierSettings settings, Clock clock);
    // Stops the verifications under way (their entries stay pending, free to be claimed) and the workers.
    ~VerifierPool();
    VerifierPool(const VerifierPool&) = delete;
    VerifierPool& operator=(const VerifierPool&) = delete;

    // An entry with a replay was stored: a waiting worker looks at once.
    void wake();
    // The verifications done by verdict and the failures to start one (the pending count is the store's).
    [[nodiscard]] VerificationStats stats() const;

  private:
    void work();
    // Verifies one entry; false when its verifier could not be started.
    bool verify(const ClaimedReplay& claimed);
    void waitForWork();

    ScoreStore& store_;
    const VerifierSettings settings_;
    const Clock clock_;
    const std::int64_t leaseSeconds_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::condition_variable woken_;
    std::size_t wakeUps_ = 0;
    VerificationStats stats_;
    std::vector<std::thread> workers_;  // last: they start once everything above is ready
};

}  // namespace quintora::server
