// The operator's commands on every kind of store, and the escaping of stored texts into the ranking page.
#include <sstream>

#include "ServerUnderTest.hpp"
#include "server/Admin.hpp"
#include "server/Html.hpp"
#include "server/Text.hpp"

namespace quintora::server::testing {
namespace {

class Moderation : public StoreTest {
  protected:
    void post(const std::string& name, const std::string& score, const std::string& device,
              const std::string& category = "Pro") {
        ASSERT_EQ(server->postScore(category, name, score, device).body, "OK") << name;
    }
    std::vector<std::string> listed(const ScoreFilter& filter) {
        std::vector<std::string> names;
        for (const ListedScore& entry : server->store().list(filter)) names.push_back(entry.score.name);
        return names;
    }
    // Runs a command as the binary would, returning its exit status, output and log.
    int run(AdminCommand command, std::string& out, std::string& log) {
        std::ostringstream outStream, logStream;
        const int status = runAdminCommand(command, server->store(), 1'700'000'000, outStream, logStream);
        out = outStream.str();
        log = logStream.str();
        return status;
    }
};

using Names = std::vector<std::string>;

TEST_P(Moderation, ARemovedScoreLeavesTheListsAndAnUnknownIdIsReported) {
    post("Ann", "30", "d1");
    post("Bob", "20", "d2");
    post("Cy", "10", "d3");
    const auto found = server->store().list({server->game, "", "bob", "", 100});
    ASSERT_EQ(found.size(), 1u);
    const std::int64_t bob = found[0].score.id;
    AdminCommand command{AdminCommand::Action::RemoveScores, {}, {bob, 999'999'999}, "", true};
    std::string out, log;
    EXPECT_EQ(run(command, out, log), 1);
    EXPECT_EQ(out, "{\"removed\":[" + std::to_string(bob) + "],\"missing\":[999999999]}\n");
    EXPECT_EQ(log, "2023-11-14T22:13:20Z removed score " + std::to_string(bob) + "\n");
    EXPECT_EQ(server->names("&category=Pro"), (Names{"Ann", "Cy"}));
    EXPECT_TRUE(listed({server->game, "", "bob", "", 100}).empty());
    EXPECT_TRUE(server->store().remove({bob}).empty());
}

TEST_P(Moderation, ABannedDevicesPostsAreRefusedAndItsScoresHiddenUntilUnbanned) {
    post("Ann", "30", "cheat");
    post("Bob", "20", "d2");
    post("Ann", "25", "cheat", "Legend");
    ASSERT_TRUE(server->store().banDevice("cheat", 1));
    // A post that passed the check while the ban was being made: banning again hides it too.
    server->store().write({server->game, "Pro", "Late", 50, "", "cheat", 1, "", ""}, WriteMode::Add);
    EXPECT_FALSE(server->store().banDevice("cheat", 2));
    const HttpReply refused = server->postScore("Pro", "Ann", "99", "cheat");
    EXPECT_EQ(refused.status, 403);
    EXPECT_EQ(refused.body, "device banned");
    EXPECT_EQ(server->names("&category=Pro"), (Names{"Bob"}));
    EXPECT_TRUE(server->ranking("&category=Legend").empty());
    EXPECT_TRUE(server->ranking("&flags=2&device=cheat").empty());
    const auto listed = server->store().list({server->game, "", "", "cheat", 100});
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_TRUE(listed[0].hidden && listed[1].hidden && listed[2].hidden);

    ASSERT_TRUE(server->store().unbanDevice("cheat"));
    EXPECT_FALSE(server->store().unbanDevice("cheat"));
    EXPECT_EQ(server->names("&category=Pro"), (Names{"Late", "Ann", "Bob"}));
    post("Ann", "99", "cheat");
}

TEST_P(Moderation, ListFiltersByCategoryNamePartAndDevice) {
    post("Ann", "30", "d1");
    post("anna_b", "20", "d2");
    post("annaxb", "15", "d2", "Legend");
    post("100%", "10", "d3");
    post("ÉCOLE", "5", "d4", "Legend");
    const struct {
        const char *category, *name, *device;
        Names expected;
    } cases[] = {
        {"Pro", "", "", {"Ann", "anna_b", "100%"}},
        {"", "ANN", "", {"annaxb", "Ann", "anna_b"}},
        {"", "a_b", "", {"anna_b"}},  // LIKE's wildcards are matched as themselves
        {"", "%", "", {"100%"}},
        {"", "école", "", {"ÉCOLE"}},
        {"", "", "d2", {"annaxb", "anna_b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.category) + "/" + c.name + "/" + c.device);
        EXPECT_EQ(listed({server->game, c.category, c.name, c.device, 100}), c.expected);
    }
}

TEST_P(Moderation, ListingIsAlignedTextWithControlCharactersMasked) {
    post("Zo\xc3\xab", "12.5", "d1");
    // The protocol refuses such a device id; a store shared with another server may still hold one.
    server->store().write({server->game, "Pro", "Ann\u202e", 7, "", "dev\x1b[2J", 1, "", ""}, WriteMode::Add);
    std::string out, log;
    ASSERT_EQ(
        run({AdminCommand::Action::ListScores, {server->game, "", "", "", 100}, {}, "", false}, out, log), 0);
    // The device column starts at the same character in every row (after a two-byte letter too), the
    // escape character shown as "?".
    const auto column = [&](int row, const std::string& text) {
        std::size_t start = 0;
        for (int i = 0; i < row; ++i) start = out.find('\n', start) + 1;
        return countCharacters(out.substr(start, out.find(text, start) - start));
    };
    EXPECT_EQ(column(1, "d1 "), column(0, "DEVICE"));
    EXPECT_EQ(column(2, "dev?[2J"), column(0, "DEVICE"));
    EXPECT_EQ(out.find('\x1b'), std::string::npos);
    EXPECT_EQ(out.find("\u202e"), std::string::npos);
    EXPECT_TRUE(log.empty());
}

INSTANTIATE_TEST_SUITE_P(Stores, Moderation, ::testing::Values("sqlite", "postgres"));

TEST(Html, StoredTextsCannotBecomeMarkup) {
    const struct {
        const char *text, *html, *url;
    } cases[] = {
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;",
         "%3Cscript%3Ealert%281%29%3C%2Fscript%3E"},
        {"\"><img src=x onerror=alert(1)>", "&quot;&gt;&lt;img src=x onerror=alert(1)&gt;",
         "%22%3E%3Cimg%20src%3Dx%20onerror%3Dalert%281%29%3E"},
        {"a&b='c'", "a&amp;b=&#39;c&#39;", "a%26b%3D%27c%27"},
        {"Zo\xc3\xab-1._~", "Zo\xc3\xab-1._~", "Zo%C3%AB-1._~"},
        {"bad\xff\x01", "bad\xef\xbf\xbd\xef\xbf\xbd", "bad%FF%01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(escapeHtml(c.text), c.html);
        EXPECT_EQ(escapeUrlComponent(c.text), c.url);
    }
}

}  // namespace
}  // namespace quintora::server::testing
