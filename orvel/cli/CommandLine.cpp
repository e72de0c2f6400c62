#include "orvel/cli/CommandLine.h"

#include "orvel/cli/CommandTable.h"

#include <map>
#include <utility>

namespace Orvel::Cli {

using OrvelKit::unexpected;

namespace {

// Where the general usage's descriptions start.
constexpr std::size_t summaryColumn = 30;
constexpr std::size_t optionHelpColumn = 19;

// `first` padded to `column`, then the lines of `text`, the later ones at `column`.
std::string columns(std::string first, std::string_view text, std::size_t column) {
    if (first.size() + 2 > column) {
        first += '\n';
        first.append(column, ' ');
    } else {
        first.append(column - first.size(), ' ');
    }
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        end = end == text.npos ? text.size() : end;
        if (start > 0) {
            first.append(column, ' ');
        }
        first.append(text.substr(start, end - start));
        first += '\n';
        start = end + 1;
    }
    return first;
}

std::string makeGeneralUsage() {
    std::string text(generalUsageHead);
    text += "\nCommands:\n";
    for (const auto& declared : commandTable()) {
        std::string synopsis = "  " + declared.displayName();
        for (const auto& argument : declared.arguments) {
            synopsis += " " + std::string(argument.name);
        }
        for (const auto& option : declared.options) {
            synopsis += " [" + std::string(option.name) +
                        (option.takesValue() ? " " + std::string(option.valueName) : "") + "]";
        }
        text += columns(synopsis, declared.summary, summaryColumn);
    }
    text += "\nOptions:\n";
    for (const auto& option : globalOptions()) {
        std::string name = "  " + std::string(option.name);
        if (option.takesValue()) {
            name += " " + std::string(option.valueName);
        }
        text += columns(name, option.help, optionHelpColumn);
    }
    text += '\n';
    text += generalUsageTail;
    return text;
}

std::string makeCommandUsage(const CommandSpec& declared) {
    return usageLine(declared.command) + "\n\n" + std::string(declared.help);
}

const OptionSpec* findOption(std::string_view name, const std::vector<OptionSpec>& options) {
    for (const auto& option : options) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

// Any command's option of that name: options may come before the command.
const OptionSpec* anyOption(std::string_view name) {
    if (const auto* global = findOption(name, globalOptions())) {
        return global;
    }
    for (const auto& declared : commandTable()) {
        if (const auto* option = findOption(name, declared.options)) {
            return option;
        }
    }
    return nullptr;
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
        const auto* option = anyOption(name);
        if (option == nullptr) {
            return unexpected(UsageError{"unknown option " + name});
        }
        if (option->takesValue()) {
            if (!value) {
                if (i + 1 >= arguments.size()) {
                    return unexpected(UsageError{name + " needs a value"});
                }
                value = arguments[++i];
            }
            scanned.options.emplace_back(name, *value);
        } else {
            if (value) {
                return unexpected(UsageError{name + " takes no value"});
            }
            scanned.options.emplace_back(name, "");
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
    if (positionals[0] == "help") {
        return std::pair{Command::help, std::size_t{1}};
    }
    // The commands whose first word matches: one, or a group such as "channel".
    std::vector<const CommandSpec*> group;
    for (const auto& declared : commandTable()) {
        if (declared.words[0] == positionals[0]) {
            if (declared.words.size() == 1) {
                return std::pair{declared.command, std::size_t{1}};
            }
            group.push_back(&declared);
        }
    }
    if (group.empty()) {
        return unexpected(UsageError{"unknown command \"" + positionals[0] + "\""});
    }
    if (positionals.size() < 2) {
        if (help) {
            return std::pair{Command::help, std::size_t{1}};
        }
        std::string names;
        for (const auto* declared : group) {
            names += (names.empty() ? "" : ", ") + std::string(declared->words[1]);
        }
        return unexpected(UsageError{positionals[0] + " needs one of " + names});
    }
    for (const auto* declared : group) {
        if (declared->words[1] == positionals[1]) {
            return std::pair{declared->command, std::size_t{2}};
        }
    }
    return unexpected(
        UsageError{"unknown command \"" + positionals[0] + " " + positionals[1] + "\""});
}

} // namespace

std::string usageLine(Command command) {
    const auto* declared = commandSpec(command);
    if (declared == nullptr) {
        return "usage: orvelctl [--data-dir DIR] [--server URL] COMMAND [options]";
    }
    std::string line = "usage: orvelctl " + declared->displayName();
    for (const auto& argument : declared->arguments) {
        line += " " + std::string(argument.name);
    }
    for (const auto& option : declared->options) {
        line += " [" + std::string(option.name);
        if (option.takesValue()) {
            line += " " + std::string(option.choices.empty() ? option.valueName : option.choices);
        }
        line += "]";
    }
    if (declared->json) {
        line += " [--json]";
    }
    return line;
}

bool supportsJson(Command command) {
    const auto* declared = commandSpec(command);
    return declared != nullptr && declared->json;
}

std::string_view usage(Command command) {
    static const std::map<Command, std::string> texts = [] {
        std::map<Command, std::string> made{{Command::help, makeGeneralUsage()}};
        for (const auto& declared : commandTable()) {
            made.emplace(declared.command, makeCommandUsage(declared));
        }
        return made;
    }();
    const auto found = texts.find(command);
    return found != texts.end() ? found->second : texts.at(Command::help);
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

    const CommandSpec& declared = *commandSpec(invocation.command);
    const auto fail = [&declared](std::string message) {
        return unexpected(UsageError{std::move(message), declared.command});
    };

    std::map<std::string, int> seen;
    for (const auto& [name, value] : scanned->options) {
        if (++seen[name] > 1) {
            return fail(name + " given twice");
        }
        const auto* option = findOption(name, globalOptions());
        option = option != nullptr ? option : findOption(name, declared.options);
        if (option == nullptr) {
            return fail(name + " is not an option of " + declared.displayName());
        }
        if (auto problem = option->store(invocation, value, declared)) {
            return fail(std::move(*problem));
        }
    }

    const std::vector<std::string> rest(scanned->positionals.begin() +
                                            static_cast<std::ptrdiff_t>(command->second),
                                        scanned->positionals.end());
    if (rest.size() != declared.arguments.size()) {
        std::string described;
        for (const auto& argument : declared.arguments) {
            described += (described.empty() ? "" : " and ") + std::string(argument.described);
        }
        return fail(declared.displayName() + " takes " +
                    (described.empty() ? std::string("no arguments") : described));
    }
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (auto problem = declared.arguments[i].store(invocation, rest[i])) {
            return fail(std::move(*problem));
        }
    }
    return invocation;
}

} // namespace Orvel::Cli
