// What the server accepts and what it turns away, asked over HTTP as a client would.
#include <sys/resource.h>

#include <csignal>
#include <functional>

#include "ServerUnderTest.hpp"

namespace quintora::server::testing {
namespace {

class Refusals : public ::testing::Test {
  protected:
    TempDir dir;
    ServerUnderTest server{"sqlite:" + (dir.path() / "scores.db").string()};
};

TEST_F(Refusals, AcceptsScoresSignedByTheRules) {
    // Digests computed apart from any code here: MD5 of category, name, score and the game key, in turn.
    const struct {
        const char *category, *name, *score, *hash;
    } vectors[] = {
        {"Pro", "A&B = C+D", "12.5", "7b10e51e9737f1784af08688a8640102"},
        {"Amateur", "Zo\xc3\xab \xc3\x9cnal", "7", "d0d405fcbad475835ce10fa61e90652f"},
        {"Legend", "a+b=c&d e", "100.25", "d626b2edcc1c4da8e06f93b52ab1dbfa"},
        {"Pro", "\xe6\x9d\x8e\xe5\xb0\x8f\xe9\xbe\x8d", "0", "7187f9d71c323825950ab5c7813cb42a"},
    };
    for (const auto& vector : vectors) {
        SCOPED_TRACE(vector.name);
        Fields fields = scoreFields(std::string(kGameName), vector.category, vector.name, vector.score);
        ASSERT_EQ(fields[5].second, vector.hash);
        const HttpReply accepted = server.post(fields);
        EXPECT_EQ(accepted.status, 200);
        EXPECT_EQ(accepted.body, "OK");
        fields[5].second[0] = fields[5].second[0] == '0' ? '1' : '0';
        const HttpReply tampered = server.post(fields);
        EXPECT_EQ(tampered.status, 403);
        EXPECT_EQ(tampered.body, "bad hash");
    }
}

TEST_F(Refusals, RefusesEachBadFormWithAShortReason) {
    using Edit = std::function<void(Fields&)>;
    const auto field = [](const std::string& key) {
        return [key](Fields& fields) -> std::string& {
            for (auto& entry : fields)
                if (entry.first == key) return entry.second;
            throw std::logic_error("no field " + key);
        };
    };
    // Signs again after changing a signed field, so that only the change itself can be refused.
    const auto signedAs = [&](const std::string& category, const std::string& name,
                              const std::string& score) -> Edit {
        return [=, this](Fields& fields) { fields = scoreFields(server.game, category, name, score); };
    };
    const auto without = [](const std::string& key, const std::string& hashInput) -> Edit {
        return [=](Fields& fields) {
            std::erase_if(fields, [&](const auto& entry) { return entry.first == key; });
            for (auto& entry : fields)
                if (entry.first == "qs_hash") entry.second = md5Hex(hashInput + std::string(kGameKey));
        };
    };
    const struct {
        const char* what;
        Edit edit;
        long status;
        const char* answer;
    } cases[] = {
        {"unknown game", [&](Fields& f) { field("qs_gamename")(f) = "Nope"; }, 404, "unknown game"},
        {"old protocol", [&](Fields& f) { field("qs_prot_ver")(f) = "1.0"; }, 400,
         "unsupported protocol version"},
        {"no protocol", without("qs_prot_ver", "ProAnn12.5"), 400, "unsupported protocol version"},
        {"short hash", [&](Fields& f) { field("qs_hash")(f).pop_back(); }, 403, "bad hash"},
        {"upper-case hash",
         [&](Fields& f) {
             for (char& c : field("qs_hash")(f)) c = static_cast<char>(toupper(c));
         },
         403, "bad hash"},
        {"no name", without("qs_playername", "Pro12.5"), 400, "missing qs_playername"},
        {"no category", without("qs_category", "Ann12.5"), 400, "missing qs_category"},
        {"no score", without("qs_score", "ProAnn"), 400, "missing qs_score"},
        {"blank name", signedAs("Pro", " \t \xc2\xa0", "1"), 400, "empty name"},
        {"25 letters", signedAs("Pro", std::string(25 * 2, 'a').replace(0, 2, "\xc3\xa9"), "1"), 400,
         "name too long"},
        {"broken UTF-8", signedAs("Pro", "Ann\xc3(", "1"), 400, "bad name"},
        {"overlong UTF-8", signedAs("Pro", "\xc0\xaf", "1"), 400, "bad name"},
        {"control character", signedAs("Pro", "An\nn", "1"), 400, "bad name"},
        {"33-byte category", signedAs(std::string(33, 'c'), "Ann", "1"), 400, "category too long"},
        {"negative score", signedAs("Pro", "Ann", "-1"), 400, "bad score"},
        {"score past the maximum", signedAs("Pro", "Ann", "1000000.5"), 400, "bad score"},
        {"infinite score", signedAs("Pro", "Ann", "inf"), 400, "bad score"},
        {"not a number", signedAs("Pro", "Ann", "nan"), 400, "bad score"},
        {"trailing text", signedAs("Pro", "Ann", "12abc"), 400, "bad score"},
        {"empty score", signedAs("Pro", "Ann", ""), 400, "bad score"},
        {"twice the same field", [](Fields& f) { f.push_back(f[1]); }, 400, "duplicate field"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        Fields fields = scoreFields(server.game, "Pro", "Ann", "12.5");
        entry.edit(fields);
        const HttpReply reply = server.post(fields);
        EXPECT_EQ(reply.status, entry.status);
        EXPECT_EQ(reply.body, entry.answer);
    }
    EXPECT_EQ(server.get("").body, "{\"scores\":[]}");
}

TEST_F(Refusals, RefusesBodiesThatAreNotFormsOrTooLong) {
    const std::string url = server.url() + "/api/post-score";
    const struct {
        std::string body;
        long status;
        const char* answer;
    } cases[] = {
        {"qs_playername=%zz", 400, "malformed form"},
        {"qs_playername=%4", 400, "malformed form"},
        {std::string(4097, 'a'), 413, "body too large"},
        {"", 404, "unknown game"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.body.substr(0, 20));
        const HttpReply reply = httpRequest(url, &entry.body);
        EXPECT_EQ(reply.status, entry.status);
        EXPECT_EQ(reply.body, entry.answer);
    }
    const std::string undeclared(100'000, 'a');  // read to its end, then refused
    EXPECT_EQ(httpRequest(url, &undeclared, {"Transfer-Encoding: chunked"}).status, 413);
    // The largest body allowed still reaches the checks.
    Fields fields = scoreFields(server.game, "Pro", "Ann", "1");
    fields.emplace_back("padding", "");
    fields.back().second.assign(4096 - formBody(fields).size(), 'p');
    EXPECT_EQ(server.post(fields).body, "bad hash");
}

TEST_F(Refusals, KeepsHostileTextAsText) {
    const std::string names[] = {"'; DROP TABLE scores;--", "\"quoted\" \\ back", "50% off_", "<b>&amp;"};
    for (const std::string& name : names) ASSERT_EQ(server.postScore("Pro", name, "3").body, "OK") << name;
    std::vector<std::string> listed;
    for (const RankedScore& row : server.ranking("&category=Pro")) listed.push_back(row.name);
    EXPECT_EQ(listed, std::vector<std::string>(std::begin(names), std::end(names)));
}

TEST_F(Refusals, SignsAndKeepsFieldsTheClientAdds) {
    Fields fields = scoreFields(server.game, "Pro", "Ann", "9");
    fields.emplace_back("qs_level", "3");
    EXPECT_EQ(server.post(fields).body, "bad hash");
    // "qs_level" sorts between the category and the name.
    fields[5].second = md5Hex("Pro3Ann9" + std::string(kGameKey));
    EXPECT_EQ(server.post(fields).body, "OK");
}

TEST_F(Refusals, LimitsPostsPerAddressPerMinute) {
    TempDir otherDir;
    ServerUnderTest limited("sqlite:" + (otherDir.path() / "scores.db").string(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(limited.postScore("Pro", "Ann", "1").body, "OK");
    const HttpReply refused = limited.postScore("Pro", "Ann", "1");
    EXPECT_EQ(refused.status, 429);
    EXPECT_EQ(refused.body, "too many posts");
    limited.now += 20;  // a third of a minute gives back one post
    EXPECT_EQ(limited.postScore("Pro", "Ann", "1").body, "OK");
    EXPECT_EQ(limited.postScore("Pro", "Ann", "1").status, 429);
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
    std::vector<std::string> listed;
    for (const RankedScore& row : server.ranking("")) listed.push_back(row.name);
    EXPECT_EQ(listed, (std::vector<std::string>{"Cid", "Ann"}));
}

}  // namespace
}  // namespace quintora::server::testing
