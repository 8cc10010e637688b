#pragma once
// A real score server on 127.0.0.1 with a free port, over a real store, whose clock the test sets; and the
// client side of the protocol written from its rules (libcurl's escaping, nettle's MD5), not from ours.
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <nettle/md5.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "online/GameKey.hpp"
#include "online/JSONDeserializer.hpp"
#include "server/CachingStore.hpp"
#include "server/HttpServer.hpp"
#include "support/HttpClient.hpp"

namespace quintora::server::testing {

using quintora::testing::HttpReply;
using quintora::testing::httpRequest;

inline std::string escaped(const std::string& text) {
    char* escapedText = curl_easy_escape(nullptr, text.data(), static_cast<int>(text.size()));
    std::string result(escapedText);
    curl_free(escapedText);
    return result;
}

inline std::string md5Hex(const std::string& text) {
    md5_ctx context;
    md5_init(&context);
    md5_update(&context, text.size(), reinterpret_cast<const uint8_t*>(text.data()));
    uint8_t digest[MD5_DIGEST_SIZE];
    md5_digest(&context, sizeof digest, digest);
    std::string hex;
    for (const uint8_t byte : digest) hex += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
    return hex;
}

// One entry of a get-scores answer, as the project's JSON reader reads it.
struct RankedScore {
    std::string name, date;
    double score = 0.0, rank = 0.0;
};

inline std::vector<RankedScore> parseScores(const std::string& json) {
    const auto document = JSONDeserializer::deserializer().deserializeAsDictionary(json, nullptr);
    EXPECT_TRUE(document) << json;
    std::vector<RankedScore> rows;
    const JSONValue* scores = document ? findValue(*document, "scores") : nullptr;
    if (scores == nullptr || !scores->isArray()) return rows;
    for (const JSONValue& entry : *scores->asArray()) {
        const JSONDictionary& fields = *entry.asDictionary();
        const auto text = [&](const char* key) { return *findValue(fields, key)->asString(); };
        const auto number = [&](const char* key) { return findValue(fields, key)->asNumber()->value; };
        rows.push_back({text("qs_playername"), text("date"), number("qs_score"), number("rank")});
    }
    return rows;
}

inline std::vector<std::string> namesOf(const std::vector<RankedScore>& rows) {
    std::vector<std::string> names;
    for (const RankedScore& row : rows) names.push_back(row.name);
    return names;
}

using Fields = std::vector<std::pair<std::string, std::string>>;

inline std::string formBody(const Fields& fields) {
    std::string body;
    for (const auto& [key, value] : fields) {
        if (!body.empty()) body += '&';
        body += escaped(key) + "=" + escaped(value);
    }
    return body;
}

// The fields a client sends for one score, signed with the game key: category, name and score are the
// signed keys, in that (alphabetical) order.
inline Fields scoreFields(const std::string& game, const std::string& category, const std::string& name,
                          const std::string& score, const std::string& device = "device-1") {
    return {{"qs_category", category}, {"qs_playername", name},
            {"qs_score", score},       {"qs_device_id", device},
            {"qs_gamename", game},     {"qs_hash", md5Hex(category + name + score + std::string(kGameKey))},
            {"qs_prot_ver", "1.1"}};
}

// Each test serves its own game, so tests sharing one PostgreSQL database never see each other's scores.
inline std::string uniqueGameName() {
    static int counter = 0;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(test ? test->name() : "game") + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(++counter);
}

class ServerUnderTest {
  public:
    explicit ServerUnderTest(const std::string& storeUrl, int postsPerMinute = 0,
                             std::string countryHeader = "", std::string gameName = uniqueGameName(),
                             const HttpLimits& limits = {}, const VerifierSettings& verifiers = {},
                             bool verifiedOnly = false)
        : game(std::move(gameName)),
          store_(openStore(storeUrl)),
          cached_(*store_, [this] { return now.load(); }),
          countries_(std::move(countryHeader)),
          verifiers_(cached_, verifiers, [this] { return now.load(); }),
          api_(
              cached_,
              GameKeys{{std::string(kGameName), std::string(kGameKey)}, {game, std::string(kGameKey)}},
              postsPerMinute, countries_, [this] { return now.load(); }, verifiedOnly, &verifiers_),
          http_("127.0.0.1", 0, limits, api_, countries_, nullptr) {}

    HttpReply post(const Fields& fields, const std::string& path = "/api/post-score",
                   const std::vector<std::string>& headers = {}) {
        const std::string body = formBody(fields);
        return httpRequest(http_.url() + path, &body, headers);
    }
    HttpReply postScore(const std::string& category, const std::string& name, const std::string& score,
                        const std::string& device = "device-1", const std::string& path = "/api/post-score") {
        return post(scoreFields(game, category, name, score, device), path);
    }
    HttpReply getPath(const std::string& path) { return httpRequest(http_.url() + path, nullptr); }
    HttpReply get(const std::string& query, const std::vector<std::string>& headers = {}) {
        return httpRequest(http_.url() + "/api/get-scores?gamename=" + escaped(game) + query, nullptr,
                           headers);
    }
    std::vector<RankedScore> ranking(const std::string& query) { return parseScores(get(query).body); }
    std::vector<std::string> names(const std::string& query) { return namesOf(ranking(query)); }
    [[nodiscard]] std::string url() const { return http_.url(); }
    [[nodiscard]] ScoreStore& store() { return cached_; }

    const std::string game;
    std::atomic<std::int64_t> now{1'700'000'000};

  private:
    std::unique_ptr<ScoreStore> store_;
    CachingStore cached_;
    CountryLookup countries_;
    VerifierPool verifiers_;
    ScoreApi api_;
    HttpServer http_;
};

// A temporary folder, removed with everything in it when the test ends.
class TempDir {
  public:
    TempDir() : path_(std::filesystem::temp_directory_path() / ("quintora-server-" + uniqueGameName())) {
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] std::string sqlite() const { return "sqlite:" + (path_ / "scores.db").string(); }

  private:
    std::filesystem::path path_;
};

// Store tests run on a SQLite file, and on the PostgreSQL database that QUINTORA_TEST_POSTGRES names
// (scripts/test-server-postgres.sh starts one and runs the "Stores/*.*/1" half).
class StoreTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        const char* postgres = std::getenv("QUINTORA_TEST_POSTGRES");
        storeUrl = std::string(GetParam()) == "sqlite" ? dir.sqlite() : postgres ? postgres : "";
        if (storeUrl.empty()) GTEST_SKIP() << "QUINTORA_TEST_POSTGRES is not set";
        server = std::make_unique<ServerUnderTest>(storeUrl, 0, "X-Country");
    }

    TempDir dir;
    std::string storeUrl;
    std::unique_ptr<ServerUnderTest> server;
};

}  // namespace quintora::server::testing
