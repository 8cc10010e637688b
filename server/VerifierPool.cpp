#include "server/VerifierPool.hpp"

#include <signal.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "online/GameKey.hpp"
#include "online/JSONDeserializer.hpp"
#include "server/Text.hpp"

namespace quintora::server {

namespace {

constexpr std::size_t kMaxReasonBytes = 200;
// Beyond the wall-clock limit, so that a claim runs out only once its verifier surely has ended.
constexpr std::int64_t kLeaseMarginSeconds = 60;

Judgement refused(std::string reason) { return {Verdict::Invalid, std::move(reason)}; }

// The verdict line's own verdict, checked against what the entry claims when it is "verified".
Judgement judgeLine(const JSONDictionary& line, int exitStatus, const ClaimedReplay& claimed) {
    const JSONValue* verdictValue = findValue(line, "verdict");
    const auto verdict =
        verdictValue && verdictValue->isString() ? verdictNamed(*verdictValue->asString()) : std::nullopt;
    if (!verdict || *verdict == Verdict::None || *verdict == Verdict::Pending)
        return refused("no known verdict");
    if (*verdict != Verdict::Verified) {
        const JSONValue* reason = findValue(line, "reason");
        // Shown to the operator on a terminal and in the log: no control characters, and short.
        std::string text;
        if (reason && reason->isString()) {
            forEachCharacter(std::string_view(*reason->asString()).substr(0, kMaxReasonBytes),
                             [&](char32_t c) { appendCharacter(text, isControl(c) ? U'?' : c); });
        }
        return {*verdict, text};
    }
    if (exitStatus != 0) return refused("verified, but exited with status " + std::to_string(exitStatus));
    const JSONValue* level = findValue(line, "level");
    const JSONValue* time = findValue(line, "time");
    if (!level || !level->isNumber() || !time || !time->isNumber())
        return refused("verified without level or time");
    const double levelNumber = level->asNumber()->value;
    const double seconds = time->asNumber()->value;
    // A number the reader took for infinite has no text of its own.
    const auto text = [](double number) { return std::isfinite(number) ? numberText(number) : "?"; };
    const bool knownLevel = levelNumber == std::floor(levelNumber) && levelNumber >= 1 && levelNumber <= 3;
    if (!knownLevel || kLevelCategories[static_cast<std::size_t>(levelNumber) - 1] != claimed.category) {
        return {Verdict::Mismatch,
                "the replay plays level " + text(levelNumber) + ", posted as " + claimed.category};
    }
    // The game posts six significant digits.
    if (!std::isfinite(seconds) ||
        std::abs(seconds - claimed.score) > std::max(0.001, 1e-5 * std::abs(claimed.score))) {
        return {Verdict::Mismatch,
                "the replay lasts " + text(seconds) + " s, posted as " + numberText(claimed.score) + " s"};
    }
    return {Verdict::Verified, ""};
}

}  // namespace

std::optional<Judgement> judge(const SandboxResult& run, const ClaimedReplay& claimed) {
    switch (run.end) {
        case SandboxResult::End::NotStarted:
        case SandboxResult::End::Stopped:
            return std::nullopt;
        case SandboxResult::End::TimedOut:
            return refused("timed out");
        case SandboxResult::End::OutputTooLong:
            return refused("printed more than " + std::to_string(run.output.size()) + " bytes");
        case SandboxResult::End::Signalled:
            return refused(run.status == SIGXCPU ? "ran out of CPU time"
                                                 : "crashed (signal " + std::to_string(run.status) + ")");
        case SandboxResult::End::Exited:
            break;
    }
    const std::string_view line = std::string_view(run.output).substr(0, run.output.find('\n'));
    const auto parsed =
        line.empty() ? nullptr : JSONDeserializer::deserializer().deserializeAsDictionary(line, nullptr);
    if (!parsed) {
        return refused(run.status != 0
                           ? "exited with status " + std::to_string(run.status) + " without a verdict"
                           : "printed no verdict line");
    }
    return judgeLine(*parsed, run.status, claimed);
}

std::string defaultVerifier(const std::string& self) {
    const std::filesystem::path here = std::filesystem::path(self).parent_path();
    // Installed, the game is beside the server; in the build tree, in the folder beside the server's.
    for (const std::filesystem::path& candidate :
         {here / "quintora", here.parent_path() / "app" / "quintora"}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate.string();
    }
    return "/usr/games/quintora";
}

VerifierPool::VerifierPool(ScoreStore& store, VerifierSettings settings, Clock clock)
    : store_(store),
      settings_(std::move(settings)),
      clock_(std::move(clock)),
      leaseSeconds_(std::chrono::ceil<std::chrono::seconds>(settings_.limits.wallClock).count() +
                    kLeaseMarginSeconds) {
    for (unsigned i = 0; i < settings_.workers; ++i) workers_.emplace_back([this] { work(); });
}

VerifierPool::~VerifierPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    woken_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

void VerifierPool::wake() {
    {
        const std::lock_guard lock(mutex_);
        // A burst of posts need not wake the workers more often than there are workers.
        wakeUps_ = std::min<std::size_t>(wakeUps_ + 1, settings_.workers);
    }
    woken_.notify_one();
}

VerificationStats VerifierPool::stats() const {
    const std::lock_guard lock(mutex_);
    return stats_;
}

void VerifierPool::work() {
    while (!stopping_) {
        std::optional<ClaimedReplay> claimed;
        try {
            claimed = store_.claimReplay(clock_(), leaseSeconds_);
        } catch (const StoreError& error) {
            std::fprintf(stderr, "verifier: store error: %s\n", error.what());
        }
        // Without a verifier to start, the entries wait (pending) for an operator to mend the install;
        // trying the next one at once would only fill the log.
        if (!claimed || !verify(*claimed)) waitForWork();
    }
}

void VerifierPool::waitForWork() {
    std::unique_lock lock(mutex_);
    woken_.wait_for(lock, settings_.scanInterval, [&] { return stopping_ || wakeUps_ > 0; });
    if (wakeUps_ > 0) --wakeUps_;
}

bool VerifierPool::verify(const ClaimedReplay& claimed) {
    SandboxResult run;
    std::string whyNotStarted;
    try {
        run = runSandboxed(settings_.program, {"--verify", "-"}, claimed.replay, settings_.limits, stopping_);
        whyNotStarted = settings_.program + ": " + std::strerror(run.status);
    } catch (const std::runtime_error& error) {
        // Out of processes or descriptors, for now: the entry waits like one whose verifier is missing.
        whyNotStarted = error.what();
    }
    if (run.end == SandboxResult::End::NotStarted) {
        {
            const std::lock_guard lock(mutex_);
            ++stats_.startFailures;
        }
        std::fprintf(stderr, "verifier for entry %lld: cannot start %s (the entry stays pending)\n",
                     static_cast<long long>(claimed.id), whyNotStarted.c_str());
    }
    if (run.end == SandboxResult::End::Stopped) {
        // The server is stopping: the next one to start takes the entry at once, not after the lease.
        try {
            store_.releaseClaim(claimed);
        } catch (const StoreError&) {
            // The lease runs out all the same.
        }
    }
    const std::optional<Judgement> judgement = judge(run, claimed);
    if (!judgement) return run.end != SandboxResult::End::NotStarted;
    if (run.end != SandboxResult::End::Exited || judgement->verdict == Verdict::Invalid) {
        std::fprintf(stderr, "verifier for entry %lld: %s: %s\n", static_cast<long long>(claimed.id),
                     std::string(nameOf(judgement->verdict)).c_str(), judgement->reason.c_str());
    }
    {
        // Counted whether or not it is stored, so that the counts of servers sharing a store add up to the
        // verifications done.
        const std::lock_guard lock(mutex_);
        ++stats_.done[static_cast<std::size_t>(judgement->verdict)];
    }
    try {
        store_.recordVerdict(claimed, judgement->verdict, judgement->reason);
    } catch (const StoreError& error) {
        std::fprintf(stderr, "verifier for entry %lld: store error: %s\n", static_cast<long long>(claimed.id),
                     error.what());
    }
    return true;
}

}  // namespace quintora::server
