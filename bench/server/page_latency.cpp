// Latency of ranking pages read straight from a store, without HTTP or the page cache: how well the
// indexes serve each kind of page. Each kind is asked a bounded number of times with random offsets up to
// a given depth, and the median and 99th percentile are printed, of the wall time and of the thread's CPU
// time (on a shared machine the wall time's tail is mostly time spent waiting for a core).
// Usage: page_latency STORE_URL [queries per kind]   (the store must hold the game "Quintora")
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "server/ScoreStore.hpp"

using namespace quintora::server;

namespace {

struct PageKind {
    const char* label;
    const char* category;
    std::int64_t periodSeconds;  // 0: all time
    const char* device;          // nullptr: every device
    const char* country;         // nullptr: every country
    int maxOffset;
    int limit;
};

double threadCpuMicros() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

double percentile(std::vector<double>& values, int percent) {
    std::sort(values.begin(), values.end());
    return values[values.size() * static_cast<std::size_t>(percent) / 100];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s STORE_URL [queries per kind]\n", argv[0]);
        return 2;
    }
    const int queries = argc > 2 ? std::atoi(argv[2]) : 2000;
    const auto store = openStore(argv[1]);
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    const PageKind kinds[] = {
        {"all time, one level, first pages", "Amateur", 0, nullptr, nullptr, 45, 15},
        {"all time, every level, 100 rows", "", 0, nullptr, nullptr, 0, 100},
        {"last 7 days, one level", "Pro", 7 * 86400, nullptr, nullptr, 45, 15},
        {"last 24 hours, one level", "Legend", 86400, nullptr, nullptr, 45, 15},
        {"one country", "Pro", 0, nullptr, "JP", 45, 15},
        {"one device", "Pro", 0, "device42", nullptr, 0, 15},
        {"deep pages, offsets to 10,000", "Pro", 0, nullptr, nullptr, 10000, 15},
    };
    std::mt19937 random(42);
    for (const PageKind& kind : kinds) {
        std::vector<double> micros, cpuMicros;
        for (int i = 0; i < queries; ++i) {
            ScoreQuery query;
            query.game = "Quintora";
            query.category = kind.category;
            if (kind.periodSeconds != 0) query.since = now - kind.periodSeconds;
            if (kind.device) query.device = kind.device;
            if (kind.country) query.country = kind.country;
            query.offset = std::uniform_int_distribution<int>(0, kind.maxOffset)(random);
            query.limit = kind.limit;
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = threadCpuMicros();
            const auto rows = store->query(query);
            cpuMicros.push_back(threadCpuMicros() - cpuStart);
            micros.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
            if (rows.empty() && query.offset == 0)
                std::fprintf(stderr, "warning: an empty page for %s\n", kind.label);
        }
        std::printf("%-34s wall: median %6.0f us, p99 %6.0f us   cpu: median %6.0f us, p99 %6.0f us\n",
                    kind.label, percentile(micros, 50), percentile(micros, 99), percentile(cpuMicros, 50),
                    percentile(cpuMicros, 99));
    }
    return 0;
}
