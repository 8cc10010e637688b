// What the server accepts and what it turns away, asked over HTTP as a client would.
#include <sys/resource.h>

#include <algorithm>
#include <csignal>

#include "ServerUnderTest.hpp"

namespace quintora::server::testing {
namespace {

class Refusals : public ::testing::Test {
  protected:
    TempDir dir;
    ServerUnderTest server{dir.sqlite()};
};

TEST_F(Refusals, AcceptsScoresSignedByTheRulesAndNoOthers) {
    // Digests computed apart from any code here: MD5 of category, name, score and the game key, in turn.
    const struct {
        const char *category, *name, *score, *hash;
    } vectors[] = {
        {"Pro", "A&B = C+D", "12.5", "7b10e51e9737f1784af08688a8640102"},
        {"Amateur", "Zo\xc3\xab \xc3\x9cnal", "7", "d0d405fcbad475835ce10fa61e90652f"},
        {"Pro", "\xe6\x9d\x8e\xe5\xb0\x8f\xe9\xbe\x8d", "0", "7187f9d71c323825950ab5c7813cb42a"},
    };
    for (const auto& vector : vectors) {
        SCOPED_TRACE(vector.name);
        Fields fields = scoreFields(std::string(kGameName), vector.category, vector.name, vector.score);
        ASSERT_EQ(fields[5].second, vector.hash);
        EXPECT_EQ(server.post(fields).status, 200);
        fields[5].second[0] = fields[5].second[0] == '0' ? '1' : '0';
        EXPECT_EQ(server.post(fields).body, "bad hash");
    }
    // A field the client adds is signed too: "qs_level" sorts between the category and the name.
    Fields fields = scoreFields(server.game, "Pro", "Ann", "9");
    fields.emplace_back("qs_level", "3");
    EXPECT_EQ(server.post(fields).body, "bad hash");
    fields[5].second = md5Hex("Pro3Ann9" + std::string(kGameKey));
    EXPECT_EQ(server.post(fields).body, "OK");
}

// Ann's 12.5 in Pro with `changes` made and the `dropped` fields left out, signed again over the result
// unless the hash itself is changed, so that only the change can be refused.
std::string formWith(const std::string& game, const Fields& changes,
                     const std::vector<std::string>& dropped) {
    Fields fields = scoreFields(game, "Pro", "Ann", "12.5");
    std::erase_if(fields, [&](const auto& field) { return std::ranges::count(dropped, field.first) > 0; });
    std::string signedValues;
    for (auto& [key, value] : fields) {
        bool changed = false;
        for (const auto& change : changes)
            if (change.first == key) value = change.second, changed = true;
        if (key == "qs_category" || key == "qs_playername" || key == "qs_score") signedValues += value;
        if (key == "qs_hash" && !changed) value = md5Hex(signedValues + std::string(kGameKey));
    }
    return formBody(fields);
}

TEST_F(Refusals, RefusesEachBadRequestWithAShortReasonAndStoresNothing) {
    const auto form = [&](const Fields& changes, const std::vector<std::string>& dropped = {}) {
        return formWith(server.game, changes, dropped);
    };
    const std::string hash = md5Hex("ProAnn12.5" + std::string(kGameKey));
    std::string upperCase = hash;
    for (char& c : upperCase) c = static_cast<char>(toupper(c));
    std::string largest = form({}) + "&padding=";  // the largest body allowed still reaches the checks
    largest.resize(4096, 'p');
    const struct {
        const char* what;
        std::string body;
        long status;
        const char* answer;
    } cases[] = {
        {"unknown game", form({{"qs_gamename", "Nope"}}), 404, "unknown game"},
        {"old protocol", form({{"qs_prot_ver", "1.0"}}), 400, "unsupported protocol version"},
        {"short hash", form({{"qs_hash", hash.substr(1)}}), 403, "bad hash"},
        {"upper-case hash", form({{"qs_hash", upperCase}}), 403, "bad hash"},
        {"no name", form({}, {"qs_playername"}), 400, "missing qs_playername"},
        {"no category", form({}, {"qs_category"}), 400, "missing qs_category"},
        {"no score", form({}, {"qs_score"}), 400, "missing qs_score"},
        {"blank name", form({{"qs_playername", " \t \xc2\xa0"}}), 400, "empty name"},
        {"invisible name", form({{"qs_playername", "\u200b\u2003\u115f"}}), 400, "empty name"},
        {"direction override", form({{"qs_playername", "Ann\u202e"}}), 400, "bad name"},
        {"25 letters", form({{"qs_playername", "\xc3\xa9" + std::string(24, 'a')}}), 400, "name too long"},
        {"broken UTF-8", form({{"qs_playername", "Ann\xc3("}}), 400, "bad name"},
        {"overlong UTF-8", form({{"qs_playername", "\xc0\xaf"}}), 400, "bad name"},
        {"control character", form({{"qs_playername", "An\nn"}}), 400, "bad name"},
        {"33-byte category", form({{"qs_category", std::string(33, 'c')}}), 400, "category too long"},
        {"negative score", form({{"qs_score", "-1"}}), 400, "bad score"},
        {"score past the maximum", form({{"qs_score", "1000000.5"}}), 400, "bad score"},
        {"infinite score", form({{"qs_score", "inf"}}), 400, "bad score"},
        {"trailing text", form({{"qs_score", "12abc"}}), 400, "bad score"},
        {"twice the same field", form({}) + "&qs_playername=Ann", 400, "duplicate field"},
        {"bad escape", "qs_playername=%zz", 400, "malformed form"},
        {"cut escape", "qs_playername=%4", 400, "malformed form"},
        {"empty body", "", 404, "unknown game"},
        {"largest body", largest, 403, "bad hash"},
        {"body too long", std::string(4097, 'a'), 413, "body too large"},
        {"longer body with a replay", form({}) + "&qs_replay=" + std::string(8000, 'A'), 403, "bad hash"},
        {"replay too long", "qs_replay=" + std::string(1024 * 1024, 'A'), 413, "body too large"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        const HttpReply reply = httpRequest(server.url() + "/api/post-score", &entry.body);
        EXPECT_EQ(reply.status, entry.status);
        EXPECT_EQ(reply.body, entry.answer);
    }
    const std::string undeclared(100'000, 'a');  // read to its end, then refused
    EXPECT_EQ(
        httpRequest(server.url() + "/api/post-score", &undeclared, {"Transfer-Encoding: chunked"}).status,
        413);
    EXPECT_EQ(server.get("").body, "{\"scores\":[]}");
}

TEST_F(Refusals, LongBodiesBeingReceivedShareABoundedRoom) {
    TempDir otherDir;
    HttpLimits limits;
    limits.maxLongBodyBytes = 12'000;
    ServerUnderTest bounded(otherDir.sqlite(), 0, "", uniqueGameName(), limits);
    // One after the other, each has the room to itself.
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(bounded.post({{"qs_replay", std::string(10'000, 'A')}}).body, "unknown game");
    const std::string longer = "qs_replay=" + std::string(13'000, 'A');
    for (const auto& headers : {std::vector<std::string>{}, {"Transfer-Encoding: chunked"}})
        EXPECT_EQ(httpRequest(bounded.url() + "/api/post-score", &longer, headers).status, 503);
}

TEST_F(Refusals, KeepsHostileTextAsText) {
    const std::vector<std::string> names = {"'; DROP TABLE scores;--", "\"quoted\" \\ back", "50% off_",
                                            "<b>&amp;"};
    for (const std::string& name : names) ASSERT_EQ(server.postScore("Pro", name, "3").body, "OK") << name;
    EXPECT_EQ(server.names("&category=Pro"), names);
}

TEST_F(Refusals, LimitsPostsPerAddressToThatManyInAnySixtySeconds) {
    TempDir otherDir;
    ServerUnderTest limited(otherDir.sqlite(), 3);
    const std::int64_t start = limited.now;
    const int seconds[] = {0, 0, 30, 31, 59, 60, 60, 89, 90};  // after the first post
    const bool allowed[] = {true, true, true, false, false, true, true, false, true};
    for (std::size_t i = 0; i < std::size(seconds); ++i) {
        limited.now = start + seconds[i];
        EXPECT_EQ(limited.postScore("Pro", "Ann", std::to_string(i)).body,
                  allowed[i] ? "OK" : "too many posts")
            << i;
    }
}

TEST_F(Refusals, AnswersAnErrorWhileTheDiskIsFullAndKeepsServingReads) {
    ASSERT_EQ(server.postScore("Pro", "Ann", "5").body, "OK");
    // From here the process may not grow any file, as on a full disk.
    rlimit normal{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &normal), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit full{1, normal.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    const HttpReply refused = server.postScore("Pro", "Bea", "6");
    const HttpReply read = server.get("");
    setrlimit(RLIMIT_FSIZE, &normal);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(refused.status, 503);
    EXPECT_EQ(refused.body, "store unavailable");
    EXPECT_EQ(read.status, 200);
    EXPECT_EQ(parseScores(read.body).size(), 1u);
    EXPECT_EQ(server.postScore("Pro", "Cid", "7").body, "OK");
    EXPECT_EQ(server.names(""), (std::vector<std::string>{"Cid", "Ann"}));
}

}  // namespace
}  // namespace quintora::server::testing
