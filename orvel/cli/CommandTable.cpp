#include "orvel/cli/CommandTable.h"

#include "orvel/cli/TerminalText.h"
#include "orvelkit/presentation/OnboardingDescriptor.h"
#include "orvelkit/presentation/TextTrimming.h"

#include <array>
#include <utility>

namespace Orvel::Cli {

const std::string_view generalUsageHead =
    R"(usage: orvelctl [--data-dir DIR] [--server URL] COMMAND [options]

The Orvel inbox from a terminal: the same files, sync and actions as the
desktop app.
)";

const std::string_view generalUsageTail =
    R"(Exit status: 0 on success, 1 when the service or the files fail, 2 for a bad
command line.
)";

namespace {

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

StoreResult storeDataDirectory(Invocation& invocation, const std::string& value,
                               const CommandSpec&) {
    if (value.empty()) {
        return "--data-dir needs a directory";
    }
    invocation.dataDirectory = std::filesystem::path(value);
    return std::nullopt;
}

StoreResult storeServer(Invocation& invocation, const std::string& value, const CommandSpec&) {
    const OrvelKit::OnboardingDescriptor form(value, "", "");
    if (!form.normalizedBaseURL) {
        return "--server needs an http:// or https:// URL, got \"" + terminalSafe(value) + "\"";
    }
    invocation.server = *form.normalizedBaseURL;
    return std::nullopt;
}

StoreResult storeJson(Invocation& invocation, const std::string&, const CommandSpec& command) {
    if (!command.json) {
        return "--json is not available for " + command.displayName();
    }
    invocation.json = true;
    return std::nullopt;
}

StoreResult storeHelp(Invocation& invocation, const std::string&, const CommandSpec&) {
    invocation.help = true;
    return std::nullopt;
}

StoreResult storeOffline(Invocation& invocation, const std::string&, const CommandSpec&) {
    invocation.offline = true;
    return std::nullopt;
}

StoreResult storeAll(Invocation& invocation, const std::string&, const CommandSpec&) {
    invocation.all = true;
    return std::nullopt;
}

StoreResult storeFilter(Invocation& invocation, const std::string& value, const CommandSpec&) {
    const auto filter = filterNamed(value);
    if (!filter) {
        return "--filter needs one of all, unread, needs-you, running, failed";
    }
    invocation.filter = *filter;
    return std::nullopt;
}

StoreResult storeGrace(Invocation& invocation, const std::string& value, const CommandSpec&) {
    if (value != "0" && value != "24") {
        return "--grace needs 0 or 24 (hours)";
    }
    invocation.graceHours = value == "0" ? 0 : 24;
    return std::nullopt;
}

StoreResult storeUpdateId(Invocation& invocation, const std::string& value) {
    if (value.empty()) {
        return "the update ID is empty";
    }
    invocation.updateId = value;
    return std::nullopt;
}

StoreResult storeChannel(Invocation& invocation, const std::string& value) {
    if (value.empty()) {
        return "the channel is empty";
    }
    invocation.channel = value;
    return std::nullopt;
}

StoreResult storeName(Invocation& invocation, const std::string& value) {
    if (!isValidUTF8(value)) {
        return "the name is not valid UTF-8";
    }
    const auto name = OrvelKit::trimmingWhitespaceAndNewlines(value);
    const auto length = characterCount(name);
    if (length == 0 || length > maximumChannelNameLength) {
        return "the name must be 1 to 80 characters";
    }
    invocation.name = std::string(name);
    return std::nullopt;
}

StoreResult storePairingCode(Invocation& invocation, const std::string& value) {
    const auto code = OrvelKit::trimmingWhitespaceAndNewlines(value);
    if (code.empty()) {
        return "the pairing code is empty";
    }
    invocation.pairingCode = std::string(code);
    return std::nullopt;
}

const ArgumentSpec updateIdArgument{"ID", "an update ID", storeUpdateId};
const ArgumentSpec channelArgument{"CH", "a channel CH", storeChannel};
const ArgumentSpec nameArgument{"NAME", "a NAME", storeName};
const ArgumentSpec codeArgument{"CODE", "a pairing CODE", storePairingCode};

std::vector<CommandSpec> makeTable() {
    return {
        {Command::status,
         {"status"},
         {},
         {{"--offline", "", "", "", false, storeOffline}},
         "server, device, channels, unread and attention counts",
         R"(Syncs once, then shows the server, whether this device is paired, the number
of channels, unread updates and items that need attention, and the last error.
Exits with 1 when the sync failed.

  --offline   show the local state only; nothing is sent
)",
         true},
        {Command::sync,
         {"sync"},
         {},
         {},
         "sync once, then show the smart briefing",
         R"(Syncs once and shows the smart briefing: what needs attention, what changed
and what is still running. Counts as opening the inbox: the next briefing
covers the time since this one. Exits with 1 when the sync failed.
)",
         true},
        {Command::watch,
         {"watch"},
         {},
         {{"--all", "", "", "", false, storeAll}},
         "sync every 20 seconds and print updates as they arrive",
         R"(Syncs at once and then every 20 seconds, printing one line per update the
desktop would announce (with "Only interrupt for what matters" on: updates
that need you). Stop with Ctrl-C.

  --all   print every new update and card change
)",
         false},
        {Command::updates,
         {"updates"},
         {},
         {{"--filter", "F", "all|unread|needs-you|running|failed", "", false, storeFilter}},
         "every update, newest first\n(F: all, unread, needs-you, running, failed)",
         R"(Every update in the local inbox, newest first, with its id. Run orvelctl sync
to fetch new ones.
)",
         true},
        {Command::show,
         {"show"},
         {updateIdArgument},
         {},
         "one update in full",
         R"(One update in full: status, sender, time, text, fields and links.
)",
         true},
        {Command::dismiss,
         {"dismiss"},
         {updateIdArgument},
         {},
         "clear an update from your attention",
         R"(Clears the update from your attention on every device; it stays in the
history.
)",
         false},
        {Command::readAll,
         {"read-all"},
         {},
         {},
         "mark every update read",
         R"(Marks every update read, here and on your other devices.
)",
         false},
        {Command::channels,
         {"channels"},
         {},
         {},
         "the channels you own or follow",
         R"(The channels this device created or follows, most recently active first.
)",
         true},
        {Command::channelCreate,
         {"channel", "create"},
         {},
         {},
         "create a channel; prints the instructions for its agent",
         R"(Creates a channel and prints the instructions to hand to its agent. They
contain the channel's publish token: keep them secret.
)",
         true},
        {Command::channelRename,
         {"channel", "rename"},
         {channelArgument, nameArgument},
         {},
         "rename a channel (1 to 80 characters)",
         R"(Gives channel CH the display name NAME (1 to 80 characters after trimming).
)",
         false},
        {Command::channelRotate,
         {"channel", "rotate"},
         {channelArgument},
         {{"--grace", "0|24", "0|24", "", false, storeGrace}},
         "replace a channel's publish key",
         R"(Replaces the publish key of channel CH and prints the instructions that hand
the new key to its agent (they contain the new token: keep them secret).

  --grace 24   the previous key keeps working for 24 hours (default)
  --grace 0    the previous key stops working at once
)",
         true},
        {Command::channelRetire,
         {"channel", "retire"},
         {channelArgument},
         {},
         "retire a channel for good",
         R"(Retires channel CH for good: it stops accepting updates and leaves every
device's inbox.
)",
         false},
        {Command::pair,
         {"pair"},
         {},
         {},
         "a code that pairs another device with this account",
         R"(Makes a short code that pairs another device (phone or web) with this
account, and prints it with its expiry and a link to the web app.
)",
         true},
        {Command::join,
         {"join"},
         {codeArgument},
         {},
         "follow an account with a code from one of its devices",
         R"(Redeems CODE, made by `orvelctl pair` or the desktop's pairing screen, so that
this data directory follows the same account, then syncs once. A directory
that already belongs to an account can't join another: use a new --data-dir.
)",
         false},
        {Command::cards,
         {"cards"},
         {},
         {},
         "persistent cards with their current values",
         R"(The persistent cards in the local inbox with their current values.
)",
         true},
    };
}

} // namespace

std::string CommandSpec::displayName() const {
    std::string name;
    for (const auto word : words) {
        name += name.empty() ? "" : " ";
        name += word;
    }
    return name;
}

const std::vector<CommandSpec>& commandTable() {
    static const std::vector<CommandSpec> table = makeTable();
    return table;
}

const std::vector<OptionSpec>& globalOptions() {
    static const std::vector<OptionSpec> options{
        {"--data-dir", "DIR", "",
         "the directory of config.json and inbox.json\n"
         "(default: $XDG_DATA_HOME/orvel or ~/.local/share/orvel)",
         true, storeDataDirectory},
        {"--server", "URL", "", "use this Orvel server (http:// or https://) and remember it",
         false, storeServer},
        // The list names every command whose record says json (checked by the tests).
        {"--json", "", "",
         "machine-readable output (status, sync, updates, show,\n"
         "channels, cards, pair, channel create, channel rotate)",
         false, storeJson},
        {"--help", "", "", "this text; orvelctl COMMAND --help for one command", false, storeHelp},
    };
    return options;
}

std::vector<const OptionSpec*> optionsOf(const CommandSpec& command) {
    std::vector<const OptionSpec*> options;
    for (const auto& option : command.options) {
        options.push_back(&option);
    }
    for (const auto& option : globalOptions()) {
        if (option.store != storeJson || command.json) {
            options.push_back(&option);
        }
    }
    return options;
}

const CommandSpec* commandSpec(Command command) {
    for (const auto& declared : commandTable()) {
        if (declared.command == command) {
            return &declared;
        }
    }
    return nullptr;
}

} // namespace Orvel::Cli
