#pragma once
// The world ranking as a web page: GET / renders one game's ranking on the server (readable without
// script, on a phone or a desktop), and the files it links to (style sheet, font, icon) are served beside
// it, with a robots.txt that lets search engines in.
#include <map>
#include <string>
#include <string_view>

#include "server/Clock.hpp"
#include "server/ScoreApi.hpp"

namespace quintora::server {

inline constexpr int kRowsPerPage = 50;

class RankingPage {
  public:
    // With `verifiedOnly`, the page ranks verified entries only.
    RankingPage(CachingStore& store, GameKeys games, Clock clock, bool verifiedOnly = false);

    // GET /?game=NAME&category=C&querytype=1..4&page=N; every argument may be left out.
    [[nodiscard]] Reply page(const ArgumentLookup& argument);

    // The file the page links to at `path`, or nullptr when there is none.
    [[nodiscard]] const Reply* asset(std::string_view path) const;

  private:
    CachingStore& store_;
    const GameKeys games_;
    const Clock clock_;
    const bool verifiedOnly_;
    std::map<std::string, Reply, std::less<>> assets_;
};

}  // namespace quintora::server
