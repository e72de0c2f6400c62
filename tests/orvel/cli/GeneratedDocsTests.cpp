// orvelctl's completions and man page against its parser: each shell's
// script is run by that shell, and what it offers must be exactly what the
// parser accepts.

#include "orvel/cli/CommandTable.h"
#include "orvel/cli/CompletionScripts.h"
#include "orvel/cli/ManPage.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

namespace {

using namespace Orvel::Cli;
using Words = std::vector<std::string>;

// A completion script run by its shell, asked for the completions of the
// last word of `line`. zsh's completion system is stood in for by functions
// that print what the script adds.
class ShellCompletion {
public:
    ShellCompletion(Shell shell, std::string program)
        : shell_(shell), program_(std::move(program)) {
        std::ofstream(script_) << completionScript(shell);
    }

    bool available() const { return std::filesystem::exists(program_); }

    Words offered(const Words& line) const {
        static const std::map<Shell, std::string> drivers{
            {Shell::bash, "source \"$0\"; COMP_WORDS=(orvelctl \"$@\"); COMP_CWORD=$#; _orvelctl; "
                          "printf '%s\\n' \"${COMPREPLY[@]}\""},
            {Shell::zsh, "compadd() { shift $(( ${@[(i)--]} )); local w; for w in \"$@\"; do "
                         "[[ $w == ${PREFIX}* ]] && print -r -- $w; done; return 0; }; "
                         "_describe() { local e; for e in \"${(@P)4}\"; do e=${e%%:*}; "
                         "[[ $e == ${PREFIX}* ]] && print -r -- $e; done; return 0; }; "
                         "_directories() { :; }; _message() { :; }; "
                         "words=(orvelctl \"$@\"); CURRENT=$#words; PREFIX=${words[-1]}; "
                         "source \"$0\""},
            {Shell::fish, "source $argv[1]; set -l line orvelctl (string escape -- $argv[2..-2]); "
                          "complete -C \"$line $argv[-1]\" | string replace -r '\\t.*' ''; true"},
        };
        Words arguments{program_};
        if (shell_ == Shell::zsh) {
            arguments.push_back("-f");
        }
        arguments.insert(arguments.end(), {"-c", drivers.at(shell_), script_.string()});
        arguments.insert(arguments.end(), line.begin(), line.end());
        OrvelTest::ChildProcess child(arguments);
        EXPECT_EQ(child.wait(), 0) << program_ << ": " << child.output();
        Words words;
        for (const auto& word : child.lines()) {
            if (!word.empty()) {
                words.push_back(word);
            }
        }
        return words;
    }

private:
    Shell shell_;
    std::string program_;
    OrvelTest::TemporaryDirectory directory_;
    std::filesystem::path script_ = directory_ / "orvelctl";
};

Words plus(Words words, const Words& more) {
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

// The shell's program: the parameter is its path.
class Completions : public testing::TestWithParam<std::string> {};

TEST_P(Completions, OfferExactlyWhatTheParserAccepts) {
    const auto program = std::filesystem::path(GetParam());
    const ShellCompletion shell(*shellNamed(program.filename().string()), GetParam());
    if (!shell.available()) {
        GTEST_SKIP() << GetParam() << " is not installed";
    }
    // Every option name any command knows, to try each against each command.
    std::map<std::string, const OptionSpec*> everyOption;
    for (const auto& option : globalOptions()) {
        everyOption.emplace(option.name, &option);
    }
    for (const auto& declared : commandTable()) {
        for (const auto& option : declared.options) {
            everyOption.emplace(option.name, &option);
        }
    }

    // Follow every word sequence the script offers, to where it offers no more.
    std::set<Command> reached;
    std::vector<Words> pending{{}};
    while (!pending.empty()) {
        const Words words = pending.back();
        pending.pop_back();
        const auto next = shell.offered(plus(words, {""}));
        for (const auto& word : next) {
            pending.push_back(plus(words, {word}));
        }
        if (!next.empty() || words.empty()) {
            continue;
        }
        const auto invocation = parseCommandLine(plus(words, {"--help"}));
        ASSERT_TRUE(invocation) << testing::PrintToString(words);
        if (words[0] == "help") {
            continue;
        }
        reached.insert(invocation->command);

        // Its options: offered exactly when the parser takes them, with the
        // values offered for them.
        const auto& declared = *commandSpec(invocation->command);
        const Words arguments(declared.arguments.size(), "ch_1");
        const auto offeredOptions = shell.offered(plus(words, {"--"}));
        for (const auto& [name, option] : everyOption) {
            Words values{""};
            if (option->takesValue()) {
                values = shell.offered(plus(words, {name, ""}));
                if (values.empty()) {
                    values = {option->directoryValue ? "/tmp" : "http://127.0.0.1:9"};
                }
            }
            const bool isOffered = std::ranges::count(offeredOptions, name) == 1;
            for (const auto& value : values) {
                auto line = plus(words, arguments);
                line.push_back(value.empty() ? name : name + "=" + value);
                const bool accepted = parseCommandLine(line).hasValue();
                EXPECT_EQ(isOffered, accepted) << testing::PrintToString(line);
            }
        }
    }

    std::set<Command> all;
    for (const auto& declared : commandTable()) {
        all.insert(declared.command);
    }
    EXPECT_EQ(reached, all);
}

INSTANTIATE_TEST_SUITE_P(GeneratedDocs, Completions,
                         testing::Values("/bin/bash", "/usr/bin/zsh", "/usr/bin/fish"),
                         [](const auto& info) {
                             return std::filesystem::path(info.param).filename().string();
                         });

TEST(GeneratedDocs, EveryCommandHasHelpAndASectionOfTheManPage) {
    const auto page = orvelctlManPage();
    std::string jsonCommands;
    for (const auto& declared : commandTable()) {
        EXPECT_FALSE(declared.summary.empty()) << declared.displayName();
        EXPECT_FALSE(declared.help.empty()) << declared.displayName();
        EXPECT_NE(usage(declared.command).find(declared.help), std::string_view::npos);
        std::string heading = ".SS \"orvelctl ";
        for (const char c : declared.displayName()) {
            heading += c == '-' ? std::string("\\-") : std::string(1, c);
        }
        EXPECT_NE(page.find(heading), std::string::npos) << heading;
        if (declared.json) {
            jsonCommands += (jsonCommands.empty() ? "" : ", ") + declared.displayName();
        }
    }
    // The general usage names the commands --json applies to, in its own order.
    const auto general = usage(Command::help);
    const auto start = general.find("machine-readable output (") + 25;
    std::string listed(general.substr(start, general.find(')', start) - start));
    std::erase(listed, '\n');
    std::set<std::string> named;
    std::set<std::string> expected;
    for (auto [text, into] : {std::pair{listed, &named}, std::pair{jsonCommands, &expected}}) {
        while (!text.empty()) {
            const auto comma = text.find(',');
            auto name = text.substr(0, comma);
            name.erase(0, name.find_first_not_of(' '));
            into->insert(name);
            text.erase(0, comma == text.npos ? text.size() : comma + 1);
        }
    }
    EXPECT_EQ(named, expected);
}

} // namespace
