#include "server/Options.hpp"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "online/GameKey.hpp"
#include "server/VerifierPool.hpp"

namespace quintora::server {

namespace {

// "HOST:PORT" or "[IPV6]:PORT" into its parts; an empty text names the problem.
std::string splitListenAddress(const std::string& text, ServerOptions& options) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) return "expected HOST:PORT";
    std::string host = text.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    const std::string_view portText = std::string_view(text).substr(colon + 1);
    int port = -1;
    const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (portText.empty() || error != std::errc() || end != portText.data() + portText.size() || port < 0 ||
        port > 65535) {
        return "the port must be a number from 0 to 65535";
    }
    options.host = host;
    options.port = port;
    return {};
}

std::string addGame(const std::string& text, ServerOptions& options) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return "expected NAME:KEY";
    options.games[text.substr(0, colon)] = text.substr(colon + 1);
    return {};
}

}  // namespace

std::string defaultDatabaseUrl() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    std::string folder = (dataHome && *dataHome) ? std::string(dataHome)
                         : home                  ? std::string(home) + "/.local/share"
                                                 : std::string(".");
    return "sqlite:" + folder + "/quintora-server/scores.db";
}

std::variant<ServerOptions, int> parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                                                  std::ostream& err) {
    ServerOptions options;
    options.database = defaultDatabaseUrl();
    options.games.emplace(std::string(kGameName), std::string(kGameKey));
    std::error_code noSelf;
    options.verifier = defaultVerifier(std::filesystem::read_symlink("/proc/self/exe", noSelf).string());
    options.verifiers = std::max(1u, std::thread::hardware_concurrency());

    CLI::App app("The Quintora score server: takes signed scores over HTTP and serves the world ranking.",
                 "quintora-server");
    app.option_defaults()->always_capture_default();
    app.add_option_function<std::string>(
           "--listen",
           [&](const std::string& text) {
               if (const std::string problem = splitListenAddress(text, options); !problem.empty()) {
                   throw CLI::ValidationError("--listen", problem);
               }
           },
           "Address and port to listen on; port 0 picks a free one (default 127.0.0.1:8080)")
        ->type_name("HOST:PORT");
    app.add_option("--db", options.database, "Score store: sqlite:PATH or postgresql://...")
        ->type_name("URL");
    app.add_option_function<std::vector<std::string>>(
           "--game",
           [&](const std::vector<std::string>& games) {
               for (const std::string& game : games) {
                   if (const std::string problem = addGame(game, options); !problem.empty()) {
                       throw CLI::ValidationError("--game", problem);
                   }
               }
           },
           "Serve one more game, signed with KEY (repeatable)")
        ->type_name("NAME:KEY")
        ->take_all();
    app.add_option("--country-header", options.countryHeader,
                   "Take the client's country from this header of a trusted proxy instead of GeoIP")
        ->type_name("NAME");
    app.add_option_function<std::vector<std::string>>(
           "--trusted-proxy",
           [&](const std::vector<std::string>& ranges) {
               for (const std::string& range : ranges) {
                   if (!options.trustedProxies.add(range)) {
                       throw CLI::ValidationError("--trusted-proxy", "expected ADDRESS or ADDRESS/BITS");
                   }
               }
           },
           "Take the client's address from X-Forwarded-For on connections from these proxies (repeatable)")
        ->type_name("CIDR")
        ->take_all();
    app.add_option("--rate", options.postsPerMinute, "Posts allowed per minute from one address; 0: no limit")
        ->check(CLI::Range(0, 1'000'000))
        ->type_name("N");
    app.add_option("--max-connections", options.limits.maxConnections, "Connections at once, in total")
        ->check(CLI::Range(1u, 100000u))
        ->type_name("N");
    app.add_option("--max-per-address", options.limits.maxConnectionsPerAddress,
                   "Connections at once from one address")
        ->check(CLI::Range(1u, 100000u))
        ->type_name("N");

    app.add_option(
           "--verifier", options.verifier,
           "The game binary that re-plays posted replays (default: quintora beside this program or in the "
           "build tree, else /usr/games/quintora)")
        ->type_name("PATH")
        ->default_str("");  // this machine's paths and cores do not belong in the manual page
    app.add_option("--verifiers", options.verifiers,
                   "Replays verified at once (default: the number of cores); 0 verifies none")
        ->check(CLI::Range(0u, 1024u))
        ->type_name("N")
        ->default_str("");
    app.add_flag("--verified-only", options.verifiedOnly,
                 "Rank only entries whose replay was verified to their level and time");

    addAdminCommands(app, options.admin);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        err << "quintora-server: " << error.what() << "\nRun with --help for the options.\n";
        return 2;
    }
    return options;
}

}  // namespace quintora::server
