#pragma once

// The command line of orvelctl, read into one invocation: which command, its
// arguments, and the options that apply to every command. CommandTable holds
// what each command accepts.

#include "orvelkit/presentation/UpdateFilter.h"
#include "orvelkit/support/Expected.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Orvel::Cli {

enum class Command {
    help,
    status,
    sync,
    watch,
    updates,
    show,
    dismiss,
    readAll,
    channels,
    channelCreate,
    channelRename,
    channelRotate,
    channelRetire,
    pair,
    join,
    cards,
};

struct Invocation {
    Command command = Command::help;
    // Show the usage of `command` (the general usage for `help`) and do nothing else.
    bool help = false;

    // Options of every command.
    std::optional<std::filesystem::path> dataDirectory;
    // Already checked to be an http or https URL, trimmed.
    std::optional<std::string> server;
    bool json = false;

    // status --offline: report the local state without asking the service.
    bool offline = false;
    // watch --all: every new update, not only what a desktop notification would show.
    bool all = false;
    // updates --filter.
    OrvelKit::UpdateFilter filter = OrvelKit::UpdateFilter::all;
    // The update of show and dismiss.
    std::string updateId;
    // The channel of rename, rotate and retire.
    std::string channel;
    // The new name of rename, trimmed.
    std::string name;
    // join: the pairing code, trimmed.
    std::string pairingCode;
    // rotate --grace: 0 revokes the old key at once, 24 keeps it working for a day.
    std::uint8_t graceHours = 24;

    bool operator==(const Invocation&) const = default;
};

// A command line that cannot run: what is wrong, and whose usage to show.
struct UsageError {
    std::string message;
    Command topic = Command::help;

    bool operator==(const UsageError&) const = default;
};

// `arguments` excludes the program name.
OrvelKit::Expected<Invocation, UsageError>
parseCommandLine(const std::vector<std::string>& arguments);

// The usage text of one command, or the general one for `help`.
std::string_view usage(Command command);

// The first line of `usage(command)`: "usage: orvelctl show ID [--json]".
std::string usageLine(Command command);

// Whether --json is available for the command.
bool supportsJson(Command command);

// The longest channel name a rename accepts, in characters.
inline constexpr std::size_t maximumChannelNameLength = 80;

} // namespace Orvel::Cli
