#pragma once
// The world ranking as a web page: GET / renders one game's ranking on the server (readable without
// script, on a phone or a desktop), and the style sheet and font it links to are served beside it.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "server/Clock.hpp"
#include "server/ScoreApi.hpp"

namespace quintora::server {

inline constexpr int kRowsPerPage = 50;

class RankingPage {
  public:
    // Reads the page's font from `fontFile`; without it the page falls back to the browser's fonts.
    // `store` is read often: give a CachingStore.
    RankingPage(ScoreStore& store, GameKeys games, Clock clock, const std::filesystem::path& fontFile);

    // GET /?game=NAME&category=C&querytype=1..4&page=N; every argument may be left out.
    [[nodiscard]] Reply page(const ArgumentLookup& argument);

    // The file the page links to at `path`, or nullptr when there is none.
    [[nodiscard]] const Reply* asset(std::string_view path) const;

  private:
    ScoreStore& store_;
    const GameKeys games_;
    const Clock clock_;
    std::map<std::string, Reply, std::less<>> assets_;
};

}  // namespace quintora::server
