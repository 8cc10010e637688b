#include "server/Admin.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <memory>

#include "online/JSONWriter.hpp"
#include "server/ScoreChecks.hpp"
#include "server/Text.hpp"

namespace quintora::server {

namespace {

// Stored texts come from anyone: on a terminal, control characters (escape sequences and direction
// overrides among them) and ill-formed bytes are shown as "?" so that a name cannot rewrite the operator's
// screen.
std::string terminalText(const std::string& text) {
    std::string out;
    forEachCharacter(text,
                     [&](char32_t c) { appendCharacter(out, isControl(c) || c == U'\uFFFD' ? U'?' : c); });
    return out;
}

void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], countCharacters(row[i]));
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - countCharacters(row[i]) + 2, ' ');
        }
        out << line << '\n';
    }
}

std::string jsonString(const std::string& text) {
    std::string json;
    appendJSONString(json, text);
    return json;
}

int listScores(const AdminCommand& command, ScoreStore& store, std::ostream& out) {
    const std::vector<ListedScore> scores = store.list(command.filter);
    if (command.json) {
        out << "{\"scores\":[";
        for (std::size_t i = 0; i < scores.size(); ++i) {
            const ListedScore& entry = scores[i];
            const StoredScore& score = entry.score;
            out << (i ? "," : "") << "{\"id\":" << score.id << ",\"game\":" << jsonString(entry.game)
                << ",\"category\":" << jsonString(score.category) << ",\"name\":" << jsonString(score.name)
                << ",\"score\":" << numberText(score.score) << ",\"country\":" << jsonString(score.country)
                << ",\"device\":" << jsonString(score.device)
                << ",\"date\":" << jsonString(isoDate(score.date))
                << ",\"hidden\":" << (entry.hidden ? "true" : "false")
                << ",\"verdict\":" << jsonString(std::string(nameOf(entry.verdict)))
                << ",\"reason\":" << jsonString(entry.reason) << "}";
        }
        out << "]}\n";
        return 0;
    }
    std::vector<std::vector<std::string>> rows{
        {"ID", "GAME", "CATEGORY", "NAME", "TIME", "COUNTRY", "DEVICE", "DATE", "VERDICT", "HIDDEN"}};
    for (const ListedScore& entry : scores) {
        const StoredScore& score = entry.score;
        // The reason matters where the run was not simply verified or not verifiable.
        std::string verdict(nameOf(entry.verdict));
        if (!entry.reason.empty()) verdict += ": " + terminalText(entry.reason);
        const char* hidden = !entry.hidden ? "" : isRejected(entry.verdict) ? "verdict" : "banned";
        rows.push_back({std::to_string(score.id), terminalText(entry.game), terminalText(score.category),
                        terminalText(score.name), numberText(score.score), terminalText(score.country),
                        terminalText(score.device), isoDate(score.date), verdict, hidden});
    }
    printTable(out, rows);
    return 0;
}

int removeScores(const AdminCommand& command, ScoreStore& store, std::int64_t now, std::ostream& out,
                 std::ostream& log) {
    const std::vector<std::int64_t> removed = store.remove(command.ids);
    std::vector<std::int64_t> missing;
    for (const std::int64_t id : command.ids) {
        if (std::find(removed.begin(), removed.end(), id) == removed.end()) missing.push_back(id);
    }
    for (const std::int64_t id : removed) log << isoDate(now) << " removed score " << id << '\n';
    const auto numbers = [](const std::vector<std::int64_t>& ids, const char* separator) {
        std::string text;
        for (std::size_t i = 0; i < ids.size(); ++i) text += (i ? separator : "") + std::to_string(ids[i]);
        return text;
    };
    if (command.json) {
        out << "{\"removed\":[" << numbers(removed, ",") << "],\"missing\":[" << numbers(missing, ",")
            << "]}\n";
    } else {
        if (!removed.empty()) out << "removed " << numbers(removed, " ") << '\n';
        if (!missing.empty()) out << "no score with id " << numbers(missing, " ") << '\n';
    }
    return missing.empty() ? 0 : 1;
}

int changeBan(const AdminCommand& command, ScoreStore& store, std::int64_t now, std::ostream& out,
              std::ostream& log) {
    const bool ban = command.action == AdminCommand::Action::BanDevice;
    const bool changed = ban ? store.banDevice(command.device, now) : store.unbanDevice(command.device);
    const std::string device = terminalText(command.device);
    if (changed) log << isoDate(now) << (ban ? " banned device " : " unbanned device ") << device << '\n';
    if (command.json) {
        out << "{\"device\":" << jsonString(command.device) << ",\"banned\":" << (ban ? "true" : "false")
            << ",\"changed\":" << (changed ? "true" : "false") << "}\n";
    } else if (changed) {
        out << (ban ? "banned device " : "unbanned device ") << device << '\n';
    } else {
        out << "device " << device << (ban ? " was already banned" : " was not banned") << '\n';
    }
    return changed ? 0 : 1;
}

int checkStore(ScoreStore& store, std::ostream& out) {
    const std::vector<std::string> problems = store.integrityProblems();
    for (const std::string& problem : problems) out << terminalText(problem) << '\n';
    if (problems.empty()) out << "the store is intact\n";
    return problems.empty() ? 0 : 1;
}

// A score id exactly as listed: decimal digits only (no sign, no "0x"), from 1 to the largest id there is.
std::int64_t scoreId(const std::string& text) {
    std::int64_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (text.empty() || text.front() == '-' || error != std::errc() || end != text.data() + text.size() ||
        id < 1)
        throw CLI::ValidationError("ID", "'" + terminalText(text) + "' is not a score id");
    return id;
}

// Only a device id a post could carry: the empty one would stop every post that comes without one.
const CLI::Validator deviceId(
    [](const std::string& text) {
        return !text.empty() && isDeviceId(text) ? std::string() : "not a device id a post could carry";
    },
    "DEVICE");

}  // namespace

void addAdminCommands(CLI::App& app, std::optional<AdminCommand>& command) {
    // Filled by the options of whichever subcommand runs and copied into `command` once it is known; the
    // subcommands' callbacks keep it alive as long as the command line exists.
    const auto parsed = std::make_shared<AdminCommand>();
    const auto choose = [&command, parsed](AdminCommand::Action action) {
        return [&command, parsed, action] {
            parsed->action = action;
            command = *parsed;
        };
    };
    const auto addJson = [parsed](CLI::App* sub) {
        sub->add_flag("--json", parsed->json, "Write the result as JSON");
        sub->fallthrough();  // the server's own options (--db) may follow the subcommand
    };

    CLI::App* scores =
        app.add_subcommand("scores", "List or remove stored scores")->require_subcommand(1)->fallthrough();
    CLI::App* list = scores->add_subcommand(
        "list",
        "List stored scores, best first, with their verdicts (hidden: a banned device's, or refused)");
    list->add_option("--game", parsed->filter.game, "Only this game's scores");
    list->add_option("--category", parsed->filter.category, "Only this category's scores");
    list->add_option("--name", parsed->filter.nameContains, "Only names holding this text (either case)")
        ->type_name("TEXT");
    list->add_option("--device", parsed->filter.device, "Only this device's scores");
    list->add_option("--limit", parsed->filter.limit, "At most this many scores")
        ->check(CLI::Range(1, 1000000));
    addJson(list);
    list->final_callback(choose(AdminCommand::Action::ListScores));

    CLI::App* remove = scores->add_subcommand("remove", "Remove scores by id, for good");
    remove
        ->add_option_function<std::vector<std::string>>(
            "ID",
            [parsed](const std::vector<std::string>& texts) {
                parsed->ids.clear();
                for (const std::string& text : texts) parsed->ids.push_back(scoreId(text));
            },
            "Ids as `scores list` shows them")
        ->required();
    addJson(remove);
    remove->final_callback(choose(AdminCommand::Action::RemoveScores));

    CLI::App* devices =
        app.add_subcommand("devices", "Ban or unban a device")->require_subcommand(1)->fallthrough();
    CLI::App* ban = devices->add_subcommand("ban", "Refuse the device's posts and hide its scores");
    ban->add_option("DEVICE", parsed->device, "The device id its scores were posted with")
        ->required()
        ->check(deviceId);
    addJson(ban);
    ban->final_callback(choose(AdminCommand::Action::BanDevice));
    CLI::App* unban = devices->add_subcommand("unban", "Take a ban back: the device's scores show again");
    unban->add_option("DEVICE", parsed->device, "The banned device id")->required()->check(deviceId);
    addJson(unban);
    unban->final_callback(choose(AdminCommand::Action::UnbanDevice));

    CLI::App* backup = app.add_subcommand(
        "backup", "Copy a SQLite store, as of one moment, into FILE while servers go on using it");
    backup->add_option("FILE", parsed->backupFile, "Where the copy goes; replaced if it exists")->required();
    backup->fallthrough();
    backup->final_callback(choose(AdminCommand::Action::Backup));
    CLI::App* check =
        app.add_subcommand("check", "Run a SQLite store's integrity check; exit 1 on a problem");
    check->fallthrough();
    check->final_callback(choose(AdminCommand::Action::Check));
}

int runAdminCommand(const AdminCommand& command, ScoreStore& store, std::int64_t now, std::ostream& out,
                    std::ostream& log) {
    switch (command.action) {
        case AdminCommand::Action::ListScores:
            return listScores(command, store, out);
        case AdminCommand::Action::RemoveScores:
            return removeScores(command, store, now, out, log);
        case AdminCommand::Action::BanDevice:
        case AdminCommand::Action::UnbanDevice:
            return changeBan(command, store, now, out, log);
        case AdminCommand::Action::Backup:
            store.backup(command.backupFile);
            out << "backed up to " << command.backupFile << '\n';
            return 0;
        case AdminCommand::Action::Check:
            return checkStore(store, out);
    }
    return 2;
}

}  // namespace quintora::server
