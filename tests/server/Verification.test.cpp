// Posted runs verified by sandboxed verifier processes, on every kind of store. The fake verifier runs its
// standard input as a script, so that each replay decides what its verifier does.
#include <cstring>
#include <fstream>
#include <thread>

#include "ServerUnderTest.hpp"
#include "online/ScoreForm.hpp"
#include "support/Files.hpp"

namespace quintora::server::testing {
namespace {

using Names = std::vector<std::string>;

std::string base64(const std::string& bytes) {
    return base64Text({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

std::string verifiedLine(int level, const char* time) {
    return "echo '{\"verdict\":\"verified\",\"level\":" + std::to_string(level) + ",\"time\":" + time + "}'";
}

class Verification : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        std::ofstream(dir.path() / "verifier") << "#!/bin/bash\neval \"$(cat)\"\n";
        std::filesystem::permissions(dir.path() / "verifier", std::filesystem::perms::owner_all);
        settings = {(dir.path() / "verifier").string(), 2, {}, std::chrono::milliseconds(200)};
        settings.limits.wallClock = std::chrono::seconds(2);
    }
    std::unique_ptr<ServerUnderTest> start(const VerifierSettings& verifiers, bool verifiedOnly = false) {
        return std::make_unique<ServerUnderTest>(storeUrl, 0, "", game, HttpLimits{}, verifiers,
                                                 verifiedOnly);
    }
    // Posts with `replay` as the field's text; its signature covers it.
    HttpReply post(ServerUnderTest& to, const std::string& category, const std::string& name,
                   const std::string& score, const std::string& replay) {
        Fields fields = scoreFields(game, category, name, score);
        fields.emplace_back("qs_replay", replay);
        fields[5].second = md5Hex(category + name + replay + score + std::string(kGameKey));
        return to.post(fields);
    }
    // The verdict of each entry (once none is pending, when `settle`); every entry was stored.
    std::map<std::string, std::string> verdicts(ServerUnderTest& of, std::size_t entries,
                                                bool settle = true) {
        for (int i = 0; i < 600 && settle && of.store().pendingCount() > 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::map<std::string, std::string> found;
        for (const ListedScore& entry : of.store().list({game, "", "", "", 1000}))
            found[entry.score.name] = std::string(nameOf(entry.verdict)) + ' ' + entry.reason;
        EXPECT_EQ(found.size(), entries);
        return found;
    }

    const std::string game = uniqueGameName();
    VerifierSettings settings;
};

TEST_P(Verification, EachVerifierRunEndsInItsVerdictAndOnlyRankableEntriesRank) {
    const auto host = start(settings);
    const std::string written = (dir.path() / "written").string();
    const std::string sandbox =
        "echo x >" + written + "; exec 5<>/dev/tcp/127.0.0.1/" +
        host->url().substr(host->url().rfind(':') + 1) +
        " && net=open || net=refused; echo \"{\\\"verdict\\\":\\\"other-version\\\","
        "\\\"reason\\\":\\\"$(env | grep -cv '^PWD=\\|^SHLVL=\\|^_=') $(ls /proc/self/fd "
        "| tr '\\n' ' ')$net\\\"}\"";
    const struct {
        const char *name, *category, *score;
        std::string replay, verdict;
    } cases[] = {
        {"right", "Pro", "12.5", verifiedLine(2, "12.5"), "verified "},
        {"sixDigits", "Legend", "123.457", verifiedLine(3, "123.4567"), "verified "},
        {"longer", "Pro", "13", verifiedLine(2, "12.5"), "mismatch the replay lasts 12.5 s, posted as 13 s"},
        {"level", "Legend", "12.5", verifiedLine(2, "12.5"),
         "mismatch the replay plays level 2, posted as Legend"},
        {"fast", "Pro", "14", R"(echo '{"verdict":"implausible-timing","reason":"300 fps"}')",
         "implausible-timing 300 fps"},
        {"sandbox", "Pro", "15", sandbox, "other-version 0 0 1 2 3 refused"},
        {"prose", "Pro", "16", "echo verified", "invalid printed no verdict line"},
        {"unknown", "Pro", "16.5", R"(echo '{"verdict":"great"}')", "invalid no known verdict"},
        {"bare", "Pro", "16.7", R"(echo '{"verdict":"verified"}')", "invalid verified without level or time"},
        {"crash", "Pro", "17", "kill -SEGV $$", "invalid crashed (signal 11)"},
        {"failed", "Pro", "18", "exit 3", "invalid exited with status 3 without a verdict"},
        {"denied", "Pro", "19", verifiedLine(2, "19") + "; exit 1",
         "invalid verified, but exited with status 1"},
        {"hang", "Pro", "20", "sleep 30", "invalid timed out"},
        {"flood", "Pro", "21", "yes | head -c 1M", "invalid printed more than 4096 bytes"},
        {"notBase64", "Pro", "22", "", "invalid replay is not base64"},
        {"unsent", "Pro", "23", "", "none "},
    };
    for (const auto& c : cases) {
        const std::string field = c.replay.empty() ? "%%%" : base64(c.replay);
        const HttpReply reply = c.verdict == "none " ? host->postScore(c.category, c.name, c.score)
                                                     : post(*host, c.category, c.name, c.score, field);
        EXPECT_EQ(reply.body, "OK") << c.name;
    }
    const auto found = verdicts(*host, std::size(cases));
    for (const auto& c : cases) EXPECT_EQ(found.at(c.name), c.verdict) << c.name;
    EXPECT_FALSE(std::filesystem::exists(written));
    // Refused entries leave the rankings, and a ban taken back leaves them out; an unverified one stays,
    // marked so.
    ASSERT_TRUE(host->store().banDevice("device-1", 1) && host->store().unbanDevice("device-1"));
    EXPECT_EQ(host->names("&category=Pro"), (Names{"unsent", "sandbox", "right"}));
    const std::string json = host->get("&category=Pro").body;
    for (const auto& [name, flag] : {std::pair{"right", "true"}, {"sandbox", "false"}, {"unsent", "false"}}) {
        const std::size_t row = json.find(std::string("\"") + name + "\"");
        EXPECT_EQ(json.substr(json.find("\"verified\":", row) + 11, std::strlen(flag)), flag) << name;
    }
    const auto replayOf = [&](const char* name) {
        const auto entry = host->store().list({game, "", name, "", 1})[0].score.id;
        return host->getPath("/api/replay?id=" + std::to_string(entry));
    };
    EXPECT_EQ(replayOf("right").body, verifiedLine(2, "12.5"));
    for (const char* name : {"unsent", "crash"}) EXPECT_EQ(replayOf(name).status, 404) << name;
    for (const char* id : {"1x", "-1", "+1", "", "99999999999999999999"})
        EXPECT_EQ(host->getPath(std::string("/api/replay?id=") + id).status, 400) << id;
    const std::string metrics = host->getPath("/metrics").body;
    for (const char* line :
         {"quintora_verifications_total{verdict=\"verified\"} 2\n",
          "quintora_verifications_total{verdict=\"invalid\"} 8\n", "quintora_verifications_pending 0\n"})
        EXPECT_NE(metrics.find(line), std::string::npos) << line << metrics;

    // Only verified entries rank when a server is told so, in its lists and in each device's rank.
    const auto strict = start({}, true);
    EXPECT_EQ(strict->names("&category=Pro"), Names{"right"});
    EXPECT_EQ(strict->getPath("/api/get-rank?gamename=" + game + "&category=Pro&device=device-1").body,
              R"({"rank":1,"total":1,"name":"right","score":12.5})");
}

TEST_P(Verification, AnEntryWaitsWhileNoVerifierCanStartAndIsVerifiedOnceOneCan) {
    VerifierSettings broken = settings;
    broken.program = (dir.path() / "notes").string();
    std::ofstream(broken.program) << "echo '{\"verdict\":\"verified\"}'\n";  // but not executable
    auto host = start(broken);
    ASSERT_EQ(post(*host, "Pro", "Ann", "12.5", base64(verifiedLine(2, "12.5"))).body, "OK");
    for (int i = 0;
         i < 600 && host->getPath("/metrics").body.find("start_failures_total 0") != std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(verdicts(*host, 1, false).at("Ann"), "pending ");
    EXPECT_NE(host->get("").body.find("\"verified\":false"), std::string::npos);
    // Restarted with a verifier, later than the broken one's claim lasts.
    host.reset();
    host = start(settings);
    host->now += 3600;
    EXPECT_EQ(verdicts(*host, 1).at("Ann"), "verified ");
}

TEST_P(Verification, TheGameItselfVerifiesARealRunInItsSandbox) {
    // A scripted Amateur run of 23.1999893 s, which the game posts with six significant digits.
    const std::string replay = base64(quintora::testing::readFile(QUINTORA_SCRIPTED_REPLAY));
    VerifierSettings theGame{QUINTORA_BINARY, 1};
    const auto host = start(theGame);
    for (const auto& [category, score] : {std::pair{"Amateur", "23.2"}, {"Pro", "23.2"}, {"Amateur", "23.1"}})
        ASSERT_EQ(post(*host, category, std::string(category) + score, score, replay).body, "OK");
    EXPECT_EQ(verdicts(*host, 3),
              (std::map<std::string, std::string>{
                  {"Amateur23.1", "mismatch the replay lasts 23.1999893 s, posted as 23.1 s"},
                  {"Amateur23.2", "verified "},
                  {"Pro23.2", "mismatch the replay plays level 1, posted as Pro"}}));
}

TEST_P(Verification, TwoServersOnOneStoreVerifyEachEntryOnce) {
    const auto first = start(settings), second = start(settings);
    for (int i = 0; i < 20; ++i) {
        const std::string time = std::to_string(10 + i);
        ASSERT_EQ(
            post(i % 2 ? *first : *second, "Pro", "n" + time, time, base64(verifiedLine(2, time.c_str())))
                .body,
            "OK");
    }
    const auto found = verdicts(*first, 20);
    for (const auto& [name, verdict] : found) EXPECT_EQ(verdict, "verified ") << name;
    // Each server counts every verifier it ran to its end, whether or not its verdict was stored.
    const auto runs = [](ServerUnderTest& host) {
        const std::string metrics = host.getPath("/metrics").body;
        const std::size_t at = metrics.find("quintora_verifications_total{verdict=\"verified\"} ");
        return std::stoi(metrics.substr(metrics.find(' ', at) + 1));
    };
    EXPECT_EQ(runs(*first) + runs(*second), 20);
}

TEST(Verification, AStoreFromBeforeReplaysHoldsEntriesPostedWithoutAndQueuesNewOnes) {
    TempDir dir;
    const std::string columns =
        " (id INTEGER PRIMARY KEY, game TEXT NOT NULL, category TEXT NOT NULL, name TEXT NOT "
        "NULL, score DOUBLE PRECISION NOT NULL, country TEXT NOT NULL, device TEXT NOT NULL, "
        "date BIGINT NOT NULL, extra TEXT NOT NULL);";
    ASSERT_EQ(
        std::system(("sqlite3 " + (dir.path() / "scores.db").string() +
                     " 'CREATE TABLE schema_version (version INTEGER NOT NULL); INSERT INTO schema_version "
                     "VALUES (3); CREATE TABLE scores" +
                     columns + "CREATE TABLE hidden_scores" + columns +
                     "INSERT INTO scores VALUES (7, \"G\", \"Pro\", \"Old\", 12.5, \"\", \"d\", 1, \"\");'")
                        .c_str()),
        0);
    const auto store = openStore(dir.sqlite());
    EXPECT_EQ(store->list({"G", "", "", "", 10}).at(0).verdict, Verdict::None);
    ScoreQuery query{"G", "Pro", {}, {}, {}};
    EXPECT_FALSE(store->query(query).at(0).verified);
    query.verifiedOnly = true;
    EXPECT_TRUE(store->query(query).empty());
    // A claim given up (by a server that stops) is taken again at once; a live one is not.
    store->write({"G", "Pro", "New", 9, "", "d", 1, "", "", "bytes", Verdict::Pending}, WriteMode::Add);
    const auto claimed = store->claimReplay(2, 3600);
    ASSERT_TRUE(claimed && claimed->replay == "bytes");
    EXPECT_FALSE(store->claimReplay(3, 3600));
    store->releaseClaim(*claimed);
    EXPECT_EQ(store->claimReplay(3, 3600)->id, claimed->id);
}

TEST(Base64, DecodesOnlyCanonicalText) {
    for (const char* bad : {"A", "AB=", "A===", "AB=C", "ABC-", "AB==AB==", "AF==", "ABD="})
        EXPECT_FALSE(bytesOfBase64(bad)) << bad;
    for (const std::string& bytes :
         std::vector<std::string>{"", "a", "ab", "abc", std::string("\xff\x00\x7f", 3)})
        EXPECT_EQ(bytesOfBase64(base64(bytes)), bytes);
}

INSTANTIATE_TEST_SUITE_P(Stores, Verification, ::testing::Values("sqlite", "postgres"));

}  // namespace
}  // namespace quintora::server::testing
