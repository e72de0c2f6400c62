#pragma once

// orvelctl's commands, one record each: the words that name it, its
// arguments and options, and its texts. Parsing, the usage texts, the shell
// completions and the man page all read this table.

#include "orvel/cli/CommandLine.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Orvel::Cli {

struct CommandSpec;

// A problem with an argument or an option value, for the user; nullopt when it fits.
using StoreResult = std::optional<std::string>;

// One positional argument.
struct ArgumentSpec {
    // As the usage shows it: "CH".
    std::string_view name;
    // As a refusal names it: "a channel CH".
    std::string_view described;
    // Checks the argument and keeps it in the invocation.
    StoreResult (*store)(Invocation& invocation, const std::string& value) = nullptr;
};

// One option, of every command (globalOptions) or of one.
struct OptionSpec {
    std::string_view name;
    // The value as the general usage shows it ("DIR", "F"); empty for a flag.
    std::string_view valueName;
    // The values it accepts, "0|24"; empty when any text goes.
    std::string_view choices;
    // The lines of the general usage's option list (options of every command).
    std::string_view help;
    // Completions offer directories for the value.
    bool directoryValue = false;
    // Checks the value ("" for a flag) and keeps it in the invocation.
    StoreResult (*store)(Invocation& invocation, const std::string& value,
                         const CommandSpec& command) = nullptr;

    bool takesValue() const { return !valueName.empty(); }
};

struct CommandSpec {
    Command command;
    // {"channel", "rename"}
    std::vector<std::string_view> words;
    std::vector<ArgumentSpec> arguments;
    std::vector<OptionSpec> options;
    // The general usage's lines for it, '\n' between them.
    std::string_view summary;
    // Its usage after the usage line: what it does, and its options.
    std::string_view help;
    // --json is available.
    bool json = false;

    // "channel rename"
    std::string displayName() const;
};

// Every command, in the order of the general usage. `help` is not one of
// them: it names the general usage and the usage of the commands.
const std::vector<CommandSpec>& commandTable();

// The options of every command.
const std::vector<OptionSpec>& globalOptions();

// The options a command accepts: its own, then those of every command
// (--json only where the record says so).
std::vector<const OptionSpec*> optionsOf(const CommandSpec& command);

// The record of a command; nullptr for `help`.
const CommandSpec* commandSpec(Command command);

// The general usage around the lists of commands and options.
extern const std::string_view generalUsageHead;
extern const std::string_view generalUsageTail;

} // namespace Orvel::Cli
