#include "orvel/cli/CommandLine.h"

#include "orvel/cli/TerminalText.h"
#include "orvelkit/presentation/OnboardingDescriptor.h"
#include "orvelkit/presentation/TextTrimming.h"

#include <array>
#include <map>
#include <utility>

namespace Orvel::Cli {

using OrvelKit::unexpected;

namespace {

constexpr std::string_view generalUsage =
    R"(usage: orvelctl [--data-dir DIR] [--server URL] COMMAND [options]

The Orvel inbox from a terminal: the same files, sync and actions as the
desktop app.

Commands:
  status [--offline]          server, device, channels, unread and attention counts
  sync                        sync once, then show the smart briefing
  watch [--all]               sync every 20 seconds and print updates as they arrive
  updates [--filter F]        every update, newest first
                              (F: all, unread, needs-you, running, failed)
  show ID                     one update in full
  dismiss ID                  clear an update from your attention
  read-all                    mark every update read
  channels                    the channels you own or follow
  channel create              create a channel; prints the instructions for its agent
  channel rename CH NAME      rename a channel (1 to 80 characters)
  channel rotate CH [--grace 0|24]
                              replace a channel's publish key
  channel retire CH           retire a channel for good
  pair                        a code that pairs another device with this account
  cards                       persistent cards with their current values

Options:
  --data-dir DIR   the directory of config.json and inbox.json
                   (default: $XDG_DATA_HOME/orvel or ~/.local/share/orvel)
  --server URL     use this Orvel server (http:// or https://) and remember it
  --json           machine-readable output (status, sync, updates, show,
                   channels, cards, pair, channel create, channel rotate)
  --help           this text; orvelctl COMMAND --help for one command

Exit status: 0 on success, 1 when the service or the files fail, 2 for a bad
command line.
)";

constexpr std::string_view statusUsage =
    R"(usage: orvelctl status [--offline] [--json]

Syncs once, then shows the server, whether this device is paired, the number
of channels, unread updates and items that need attention, and the last error.
Exits with 1 when the sync failed.

  --offline   show the local state only; nothing is sent
)";

constexpr std::string_view syncUsage =
    R"(usage: orvelctl sync [--json]

Syncs once and shows the smart briefing: what needs attention, what changed
and what is still running. Counts as opening the inbox: the next briefing
covers the time since this one. Exits with 1 when the sync failed.
)";

constexpr std::string_view watchUsage =
    R"(usage: orvelctl watch [--all]

Syncs at once and then every 20 seconds, printing one line per update the
desktop would announce (with "Only interrupt for what matters" on: updates
that need you). Stop with Ctrl-C.

  --all   print every new update and card change
)";

constexpr std::string_view updatesUsage =
    R"(usage: orvelctl updates [--filter all|unread|needs-you|running|failed] [--json]

Every update in the local inbox, newest first, with its id. Run orvelctl sync
to fetch new ones.
)";

constexpr std::string_view showUsage =
    R"(usage: orvelctl show ID [--json]

One update in full: status, sender, time, text, fields and links.
)";

constexpr std::string_view dismissUsage =
    R"(usage: orvelctl dismiss ID

Clears the update from your attention on every device; it stays in the
history.
)";

constexpr std::string_view readAllUsage =
    R"(usage: orvelctl read-all

Marks every update read, here and on your other devices.
)";

constexpr std::string_view channelsUsage =
    R"(usage: orvelctl channels [--json]

The channels this device created or follows, most recently active first.
)";

constexpr std::string_view channelCreateUsage =
    R"(usage: orvelctl channel create [--json]

Creates a channel and prints the instructions to hand to its agent. They
contain the channel's publish token: keep them secret.
)";

constexpr std::string_view channelRenameUsage =
    R"(usage: orvelctl channel rename CH NAME

Gives channel CH the display name NAME (1 to 80 characters after trimming).
)";

constexpr std::string_view channelRotateUsage =
    R"(usage: orvelctl channel rotate CH [--grace 0|24] [--json]

Replaces the publish key of channel CH and prints the instructions that hand
the new key to its agent (they contain the new token: keep them secret).

  --grace 24   the previous key keeps working for 24 hours (default)
  --grace 0    the previous key stops working at once
)";

constexpr std::string_view channelRetireUsage =
    R"(usage: orvelctl channel retire CH

Retires channel CH for good: it stops accepting updates and leaves every
device's inbox.
)";

constexpr std::string_view pairUsage =
    R"(usage: orvelctl pair [--json]

Makes a short code that pairs another device (phone or web) with this
account, and prints it with its expiry and a link to the web app.
)";

constexpr std::string_view cardsUsage =
    R"(usage: orvelctl cards [--json]

The persistent cards in the local inbox with their current values.
)";

const std::map<std::string_view, Command> topLevelCommands{
    {"help", Command::help},       {"status", Command::status},    {"sync", Command::sync},
    {"watch", Command::watch},     {"updates", Command::updates},  {"show", Command::show},
    {"dismiss", Command::dismiss}, {"read-all", Command::readAll}, {"channels", Command::channels},
    {"pair", Command::pair},       {"cards", Command::cards},
};

const std::map<std::string_view, Command> channelCommands{
    {"create", Command::channelCreate},
    {"rename", Command::channelRename},
    {"rotate", Command::channelRotate},
    {"retire", Command::channelRetire},
};

// Options that take a value, and the command each belongs to (none: every command).
const std::map<std::string_view, std::optional<Command>> valueOptions{
    {"--data-dir", std::nullopt},
    {"--server", std::nullopt},
    {"--filter", Command::updates},
    {"--grace", Command::channelRotate},
};

const std::map<std::string_view, std::optional<Command>> flagOptions{
    {"--json", std::nullopt},
    {"--help", std::nullopt},
    {"--offline", Command::status},
    {"--all", Command::watch},
};

// The filter names of the command line: the titles' words, in lower case.
std::optional<OrvelKit::UpdateFilter> filterNamed(std::string_view name) {
    using OrvelKit::UpdateFilter;
    static constexpr std::array<std::pair<std::string_view, UpdateFilter>, 6> names{{
        {"all", UpdateFilter::all},
        {"unread", UpdateFilter::unread},
        {"needs-you", UpdateFilter::needsYou},
        {"needsYou", UpdateFilter::needsYou},
        {"running", UpdateFilter::running},
        {"failed", UpdateFilter::failed},
    }};
    for (const auto& [candidate, filter] : names) {
        if (candidate == name) {
            return filter;
        }
    }
    return std::nullopt;
}

std::string_view commandName(Command command) {
    for (const auto& [name, candidate] : topLevelCommands) {
        if (candidate == command) {
            return name;
        }
    }
    for (const auto& [name, candidate] : channelCommands) {
        if (candidate == command) {
            return name;
        }
    }
    return "orvelctl";
}

std::string displayName(Command command) {
    for (const auto& [name, candidate] : channelCommands) {
        if (candidate == command) {
            return "channel " + std::string(name);
        }
    }
    return std::string(commandName(command));
}

struct Scanned {
    std::vector<std::string> positionals;
    // Option name → value ("" for flags), in the order given.
    std::vector<std::pair<std::string, std::string>> options;
};

OrvelKit::Expected<Scanned, UsageError> scan(const std::vector<std::string>& arguments) {
    Scanned scanned;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            scanned.positionals.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = argument == "-h" ? "--help" : argument;
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.starts_with("--") && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (valueOptions.contains(name)) {
            if (!value) {
                if (i + 1 >= arguments.size()) {
                    return unexpected(UsageError{name + " needs a value"});
                }
                value = arguments[++i];
            }
            scanned.options.emplace_back(name, *value);
        } else if (flagOptions.contains(name)) {
            if (value) {
                return unexpected(UsageError{name + " takes no value"});
            }
            scanned.options.emplace_back(name, "");
        } else {
            return unexpected(UsageError{"unknown option " + name});
        }
    }
    return scanned;
}

// The command the positionals name, and how many of them the name used.
OrvelKit::Expected<std::pair<Command, std::size_t>, UsageError>
commandOf(const std::vector<std::string>& positionals, bool help) {
    if (positionals.empty()) {
        if (help) {
            return std::pair{Command::help, std::size_t{0}};
        }
        return unexpected(UsageError{"no command given"});
    }
    const auto found = topLevelCommands.find(positionals[0]);
    if (found != topLevelCommands.end()) {
        return std::pair{found->second, std::size_t{1}};
    }
    if (positionals[0] != "channel") {
        return unexpected(UsageError{"unknown command \"" + positionals[0] + "\""});
    }
    if (positionals.size() < 2) {
        if (help) {
            return std::pair{Command::help, std::size_t{1}};
        }
        return unexpected(UsageError{"channel needs one of create, rename, rotate, retire"});
    }
    const auto sub = channelCommands.find(positionals[1]);
    if (sub == channelCommands.end()) {
        return unexpected(UsageError{"unknown command \"channel " + positionals[1] + "\""});
    }
    return std::pair{sub->second, std::size_t{2}};
}

std::size_t argumentCount(Command command) {
    switch (command) {
    case Command::show:
    case Command::dismiss:
    case Command::channelRotate:
    case Command::channelRetire:
        return 1;
    case Command::channelRename:
        return 2;
    default:
        return 0;
    }
}

std::string_view argumentNames(Command command) {
    switch (command) {
    case Command::show:
    case Command::dismiss:
        return "an update ID";
    case Command::channelRotate:
    case Command::channelRetire:
        return "a channel CH";
    case Command::channelRename:
        return "a channel CH and a NAME";
    default:
        return "no arguments";
    }
}

} // namespace

bool supportsJson(Command command) {
    switch (command) {
    case Command::status:
    case Command::sync:
    case Command::updates:
    case Command::show:
    case Command::channels:
    case Command::cards:
    case Command::pair:
    case Command::channelCreate:
    case Command::channelRotate:
        return true;
    default:
        return false;
    }
}

std::string_view usage(Command command) {
    switch (command) {
    case Command::help:
        return generalUsage;
    case Command::status:
        return statusUsage;
    case Command::sync:
        return syncUsage;
    case Command::watch:
        return watchUsage;
    case Command::updates:
        return updatesUsage;
    case Command::show:
        return showUsage;
    case Command::dismiss:
        return dismissUsage;
    case Command::readAll:
        return readAllUsage;
    case Command::channels:
        return channelsUsage;
    case Command::channelCreate:
        return channelCreateUsage;
    case Command::channelRename:
        return channelRenameUsage;
    case Command::channelRotate:
        return channelRotateUsage;
    case Command::channelRetire:
        return channelRetireUsage;
    case Command::pair:
        return pairUsage;
    case Command::cards:
        return cardsUsage;
    }
    return generalUsage;
}

OrvelKit::Expected<Invocation, UsageError>
parseCommandLine(const std::vector<std::string>& arguments) {
    auto scanned = scan(arguments);
    if (!scanned) {
        return unexpected(scanned.error());
    }
    Invocation invocation;
    for (const auto& [name, value] : scanned->options) {
        invocation.help = invocation.help || name == "--help";
    }

    auto command = commandOf(scanned->positionals, invocation.help);
    if (!command) {
        return unexpected(command.error());
    }
    invocation.command = command->first;
    if (invocation.command == Command::help) {
        // "help COMMAND" shows that command's usage.
        std::vector<std::string> rest(scanned->positionals.begin() +
                                          static_cast<std::ptrdiff_t>(command->second),
                                      scanned->positionals.end());
        invocation.help = true;
        if (!rest.empty()) {
            auto topic = commandOf(rest, true);
            if (!topic) {
                return unexpected(topic.error());
            }
            invocation.command = topic->first;
        }
        return invocation;
    }
    if (invocation.help) {
        return invocation;
    }

    const Command which = invocation.command;
    const auto fail = [which](std::string message) {
        return unexpected(UsageError{std::move(message), which});
    };

    std::map<std::string, int> seen;
    for (const auto& [name, value] : scanned->options) {
        if (++seen[name] > 1) {
            return fail(name + " given twice");
        }
        const auto valueOption = valueOptions.find(name);
        const auto owner =
            valueOption != valueOptions.end() ? valueOption->second : flagOptions.at(name);
        if (owner && *owner != which) {
            return fail(name + " is not an option of " + displayName(which));
        }
        if (name == "--data-dir") {
            if (value.empty()) {
                return fail("--data-dir needs a directory");
            }
            invocation.dataDirectory = std::filesystem::path(value);
        } else if (name == "--server") {
            const OrvelKit::OnboardingDescriptor form(value, "", "");
            if (!form.normalizedBaseURL) {
                return fail("--server needs an http:// or https:// URL, got \"" +
                            terminalSafe(value) + "\"");
            }
            invocation.server = *form.normalizedBaseURL;
        } else if (name == "--json") {
            if (!supportsJson(which)) {
                return fail("--json is not available for " + displayName(which));
            }
            invocation.json = true;
        } else if (name == "--offline") {
            invocation.offline = true;
        } else if (name == "--all") {
            invocation.all = true;
        } else if (name == "--filter") {
            const auto filter = filterNamed(value);
            if (!filter) {
                return fail("--filter needs one of all, unread, needs-you, running, failed");
            }
            invocation.filter = *filter;
        } else if (name == "--grace") {
            if (value != "0" && value != "24") {
                return fail("--grace needs 0 or 24 (hours)");
            }
            invocation.graceHours = value == "0" ? 0 : 24;
        }
    }

    const std::vector<std::string> rest(scanned->positionals.begin() +
                                            static_cast<std::ptrdiff_t>(command->second),
                                        scanned->positionals.end());
    if (rest.size() != argumentCount(which)) {
        return fail(displayName(which) + " takes " + std::string(argumentNames(which)));
    }
    switch (which) {
    case Command::show:
    case Command::dismiss:
        if (rest[0].empty()) {
            return fail("the update ID is empty");
        }
        invocation.updateId = rest[0];
        break;
    case Command::channelRename: {
        if (!isValidUTF8(rest[1])) {
            return fail("the name is not valid UTF-8");
        }
        const auto name = OrvelKit::trimmingWhitespaceAndNewlines(rest[1]);
        const auto length = characterCount(name);
        if (length == 0 || length > maximumChannelNameLength) {
            return fail("the name must be 1 to 80 characters");
        }
        invocation.name = std::string(name);
        [[fallthrough]];
    }
    case Command::channelRotate:
    case Command::channelRetire:
        if (rest[0].empty()) {
            return fail("the channel is empty");
        }
        invocation.channel = rest[0];
        break;
    default:
        break;
    }
    return invocation;
}

} // namespace Orvel::Cli
