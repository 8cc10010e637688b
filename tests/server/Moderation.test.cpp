// The operator's commands on every kind of store, and the escaping of stored texts into the ranking page.
#include <sstream>

#include "ServerUnderTest.hpp"
#include "server/Admin.hpp"
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

TEST_P(Moderation, ABannedDevicesPostsAreRefusedAndItsScoresHiddenUntilUnbanned) {
    post("Ann", "30", "cheat");
    post("Bob", "20", "d2");
    post("Ann", "25", "cheat", "Legend");
    ASSERT_TRUE(server->store().banDevice("cheat", 1));
    // A post that passed the check while the ban was being made: banning again hides it too.
    server->store().write({server->game, "Pro", "Late", 50, "", "cheat", 1, ""}, WriteMode::Add);
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
    ++server->now;  // a ranking page read within the same second may still be served from the server's cache
    EXPECT_EQ(server->names("&category=Pro"), (Names{"Late", "Ann", "Bob"}));
    post("Ann", "99", "cheat");
}

TEST_P(Moderation, ListFiltersByCategoryNamePartAndDevice) {
    post("Ann", "30", "d1");
    post("anna_b", "20", "d2");
    post("annaxb", "15", "d2", "Legend");
    post("100%", "10", "d3");
    const struct {
        const char *category, *name, *device;
        Names expected;
    } cases[] = {
        {"Pro", "", "", {"Ann", "anna_b", "100%"}},
        {"", "ANN", "", {"annaxb", "Ann", "anna_b"}},
        {"", "a_b", "", {"anna_b"}},  // LIKE's wildcards are matched as themselves
        {"", "%", "", {"100%"}},
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
    server->store().write({server->game, "Pro", "Ann", 7, "", "dev\x1b[2J", 1, ""}, WriteMode::Add);
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
    EXPECT_TRUE(log.empty());
}

INSTANTIATE_TEST_SUITE_P(Stores, Moderation, ::testing::Values("sqlite", "postgres"));

}  // namespace
}  // namespace quintora::server::testing
