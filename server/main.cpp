// quintora-server: see README.md, "The score server".
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <iostream>

#include "server/CachingStore.hpp"
#include "server/Clock.hpp"
#include "server/Country.hpp"
#include "server/HttpServer.hpp"
#include "server/Options.hpp"
#include "server/ScoreApi.hpp"

using namespace quintora;
using namespace quintora::server;

int main(int argc, char** argv) {
    auto parsed = parseCommandLine(argc, argv, std::cout, std::cerr);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const ServerOptions& options = std::get<ServerOptions>(parsed);
    if (options.admin) {
        try {
            const auto store = openStore(options.database, StoreUse::Moderate);
            return runAdminCommand(*options.admin, *store, std::time(nullptr), std::cout, std::cerr);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "quintora-server: %s\n", error.what());
            return 1;
        }
    }

    // Blocked before any thread starts, so that every thread inherits the mask and the signals wait for
    // sigwait below instead of killing a request halfway.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        const auto store = openStore(options.database);
        CachingStore cached(*store, systemClock());
        const CountryLookup countries(options.countryHeader);
        // Verdicts are stored through the cache, so that a page never shows an entry a verdict hid.
        VerifierPool verifiers(cached, {options.verifier, options.verifiers}, systemClock());
        ScoreApi api(cached, options.games, options.postsPerMinute, countries, systemClock(),
                     options.verifiedOnly, &verifiers);
        RankingPage page(cached, options.games, systemClock(), options.verifiedOnly);
        HttpServer server(options.host, options.port, options.limits, api, countries, stderr, &page,
                          options.trustedProxies);
        std::printf("listening on %s\n", server.url().c_str());
        std::fflush(stdout);

        int signal = 0;
        sigwait(&stopSignals, &signal);
        std::fprintf(stderr, "quintora-server: stopping on signal %d\n", signal);
        server.shutdown(std::chrono::seconds(10));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quintora-server: %s\n", error.what());
        return 1;
    }
    return 0;
}
