// What an operator runs the server with: health checks, metrics, and clients behind a proxy.
#include <filesystem>

#include "ServerUnderTest.hpp"

namespace quintora::server::testing {
namespace {

TEST(Operations, AStoreDeletedUnderTheServerIsUnhealthyAndAcknowledgesNothing) {
    for (const char* removed : {"scores.db", "scores.db-wal", ""}) {  // "": the whole folder
        SCOPED_TRACE(removed);
        TempDir dir;
        ServerUnderTest server(dir.sqlite());
        ASSERT_EQ(server.postScore("Pro", "Ann", "5").body, "OK");
        EXPECT_EQ(server.getPath("/healthz").status, 200);
        std::filesystem::remove_all(*removed ? dir.path() / removed : dir.path());
        EXPECT_EQ(server.postScore("Pro", "Bea", "6").status, 503);
        EXPECT_EQ(server.getPath("/healthz").status, 503);
    }
}

TEST(Operations, MetricsCountRequestsRefusalsAndCommits) {
    TempDir dir;
    ServerUnderTest server(dir.sqlite(), 1);
    EXPECT_EQ(server.postScore("Pro", "Ann", "5").body, "OK");
    EXPECT_EQ(server.postScore("Pro", "Ann", "6").status, 429);
    for (int read = 0; read < 2; ++read) EXPECT_EQ(server.get("").status, 200);
    const std::string metrics = server.getPath("/metrics").body;
    for (const char* line : {"quintora_http_requests_total{route=\"/api/post-score\",status=\"200\"} 1\n",
                             "quintora_http_requests_total{route=\"/api/post-score\",status=\"429\"} 1\n",
                             "quintora_http_requests_total{route=\"/api/get-scores\",status=\"200\"} 2\n",
                             "quintora_refusals_total{reason=\"too many posts\"} 1\n",
                             "quintora_page_cache_hits_total 1\n", "quintora_page_cache_misses_total 1\n",
                             "quintora_store_commit_seconds_count 1\n", "quintora_open_connections "}) {
        EXPECT_NE(metrics.find(line), std::string::npos) << line << metrics;
    }
}

TEST(Operations, BehindATrustedProxyTheClientIsTheLastUntrustedForwardedAddress) {
    TrustedProxies proxies;
    for (const char* range : {"10.0.0.0/8", "127.0.0.1", "fd00::/8"})
        ASSERT_TRUE(proxies.add(range)) << range;
    for (const char* range : {"10.0.0.0/33", "10.0.0", "fd00::/129", "10.0.0.0/", "host/8"}) {
        EXPECT_FALSE(TrustedProxies().add(range)) << range;
    }
    const struct {
        const char *peer, *forwardedFor, *client;
    } cases[] = {
        {"203.0.113.9", "198.51.100.1", "203.0.113.9"},  // not a proxy: the header is ignored
        {"10.1.2.3", "198.51.100.1", "198.51.100.1"},    // one proxy
        {"10.1.2.3", "6.6.6.6, 198.51.100.1, 10.9.9.9", "198.51.100.1"},  // the client's own entry is skipped
        {"127.0.0.1", "2001:db8::1,fd12::1", "2001:db8::1"},              // IPv6 hops
        {"10.1.2.3", "", "10.1.2.3"},                                     // no header: the proxy itself
        {"10.1.2.3", "10.0.0.1, 10.0.0.2", "10.0.0.1"},                   // only proxies: the left-most
        {"10.1.2.3", "198.51.100.1, garbage", "10.1.2.3"},                // a bad hop ends the walk
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(proxies.clientAddress(entry.peer, entry.forwardedFor), entry.client) << entry.forwardedFor;
    }
}

}  // namespace
}  // namespace quintora::server::testing
