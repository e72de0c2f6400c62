#include "orvel/cli/CompletionScripts.h"

#include "orvel/cli/CommandTable.h"

#include <set>
#include <vector>

namespace Orvel::Cli {

namespace {

struct Word {
    std::string name;
    std::string summary;
};

// What to offer after the command words `words`: the next words, and options.
// `arguments`: the words may be followed by the command's arguments.
struct State {
    std::string words;
    bool arguments = false;
    std::vector<Word> next;
    std::vector<const OptionSpec*> options;
};

std::string firstLine(std::string_view text) {
    return std::string(text.substr(0, text.find('\n')));
}

std::string joined(const std::vector<std::string>& items, std::string_view separator) {
    std::string text;
    for (const auto& item : items) {
        text += (text.empty() ? "" : std::string(separator)) + item;
    }
    return text;
}

std::vector<std::string> namesOf(const std::vector<Word>& words) {
    std::vector<std::string> names;
    for (const auto& word : words) {
        names.push_back(word.name);
    }
    return names;
}

std::vector<std::string> namesOf(const std::vector<const OptionSpec*>& options) {
    std::vector<std::string> names;
    for (const auto* option : options) {
        names.emplace_back(option->name);
    }
    return names;
}

// Every state the command line can be in: before a command, after a group's
// word or help, and after each command.
std::vector<State> states() {
    std::vector<Word> top;
    std::vector<std::pair<std::string, std::vector<Word>>> groups;
    for (const auto& declared : commandTable()) {
        const std::string first(declared.words[0]);
        if (declared.words.size() == 1) {
            top.push_back({first, firstLine(declared.summary)});
            continue;
        }
        if (groups.empty() || groups.back().first != first) {
            groups.emplace_back(first, std::vector<Word>{});
            top.push_back({first, ""});
        }
        groups.back().second.push_back(
            {std::string(declared.words[1]), firstLine(declared.summary)});
    }
    // A group's word is described by the words that follow it.
    for (auto& word : top) {
        for (const auto& [group, members] : groups) {
            if (word.name == group) {
                word.summary = joined(namesOf(members), ", ");
            }
        }
    }

    std::vector<const OptionSpec*> global;
    for (const auto& option : globalOptions()) {
        global.push_back(&option);
    }
    std::vector<State> all;
    std::vector<Word> withHelp{{"help", "the usage of a command"}};
    withHelp.insert(withHelp.end(), top.begin(), top.end());
    all.push_back({"", false, withHelp, global});
    all.push_back({"help", false, top, {}});
    for (const auto& [group, members] : groups) {
        all.push_back({group, false, members, global});
        all.push_back({"help " + group, false, members, {}});
    }
    for (const auto& declared : commandTable()) {
        all.push_back(
            {declared.displayName(), !declared.arguments.empty(), {}, optionsOf(declared)});
    }
    return all;
}

// Every option that takes a value, once.
std::vector<const OptionSpec*> valueOptions() {
    std::vector<const OptionSpec*> options;
    std::set<std::string_view> seen;
    const auto add = [&](const OptionSpec& option) {
        if (option.takesValue() && seen.insert(option.name).second) {
            options.push_back(&option);
        }
    };
    for (const auto& option : globalOptions()) {
        add(option);
    }
    for (const auto& declared : commandTable()) {
        for (const auto& option : declared.options) {
            add(option);
        }
    }
    return options;
}

std::string choiceWords(const OptionSpec& option) {
    std::string words(option.choices);
    for (auto& c : words) {
        c = c == '|' ? ' ' : c;
    }
    return words;
}

// A case pattern (bash and zsh) for the state's words.
std::string pattern(const State& state) {
    std::string quoted = "\"" + state.words + "\"";
    return state.arguments ? quoted + "|\"" + state.words + " \"*" : quoted;
}

// The loop that collects the command words typed so far, skipping options
// and their values; shared by bash and zsh.
std::string wordScan(std::string_view word, std::string_view from, std::string_view to) {
    return "    local i word skip= command=\n"
           "    for ((i = " +
           std::string(from) + "; i < " + std::string(to) +
           "; i++)); do\n"
           "        word=" +
           std::string(word) +
           "\n"
           "        if [[ -n $skip ]]; then\n"
           "            skip=\n"
           "            continue\n"
           "        fi\n"
           "        case $word in\n"
           "        " +
           joined(namesOf(valueOptions()), "|") +
           ") skip=1 ;;\n"
           "        -*) ;;\n"
           "        *) command+=\"${command:+ }$word\" ;;\n"
           "        esac\n"
           "    done\n";
}

std::string bash() {
    std::string text = "# bash completion for orvelctl, generated from its command table.\n"
                       "_orvelctl() {\n"
                       "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n";
    text += wordScan("${COMP_WORDS[i]}", "1", "COMP_CWORD");
    text += "    case $prev in\n";
    for (const auto* option : valueOptions()) {
        text += "    " + std::string(option->name) + ") COMPREPLY=($(compgen ";
        text += option->directoryValue ? std::string("-d") : "-W \"" + choiceWords(*option) + "\"";
        text += " -- \"$cur\")); return ;;\n";
    }
    text += "    esac\n"
            "    local next= options=\n"
            "    case $command in\n";
    for (const auto& state : states()) {
        text += "    " + pattern(state) + ")\n";
        text += "        next=\"" + joined(namesOf(state.next), " ") + "\"\n";
        text += "        options=\"" + joined(namesOf(state.options), " ") + "\" ;;\n";
    }
    text += "    esac\n"
            "    if [[ $cur == -* ]]; then\n"
            "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
            "    else\n"
            "        COMPREPLY=($(compgen -W \"$next\" -- \"$cur\"))\n"
            "    fi\n"
            "}\n"
            "complete -F _orvelctl orvelctl\n";
    return text;
}

// Quoted for zsh's _describe: colons in the name end it.
std::string described(const Word& word) {
    std::string text = "'" + word.name + ":";
    for (const char c : word.summary) {
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return text + "'";
}

std::string zsh() {
    std::string text = "#compdef orvelctl\n"
                       "# zsh completion for orvelctl, generated from its command table.\n"
                       "_orvelctl() {\n";
    text += wordScan("${words[i]}", "2", "CURRENT");
    text += "    case ${words[CURRENT-1]} in\n";
    for (const auto* option : valueOptions()) {
        text += "    " + std::string(option->name) + ") ";
        if (option->directoryValue) {
            text += "_directories";
        } else if (option->choices.empty()) {
            text += "_message '" + std::string(option->valueName) + "'";
        } else {
            text += "compadd -- " + choiceWords(*option);
        }
        text += "; return ;;\n";
    }
    text += "    esac\n"
            "    local -a next options\n"
            "    case $command in\n";
    for (const auto& state : states()) {
        std::vector<std::string> next;
        for (const auto& word : state.next) {
            next.push_back(described(word));
        }
        text += "    " + pattern(state) + ")\n";
        text += "        next=(" + joined(next, " ") + ")\n";
        text += "        options=(" + joined(namesOf(state.options), " ") + ") ;;\n";
    }
    text += "    esac\n"
            "    if [[ $PREFIX == -* ]]; then\n"
            "        compadd -- $options\n"
            "    elif (( ${#next} )); then\n"
            "        _describe -t commands 'orvelctl command' next\n"
            "    fi\n"
            "}\n"
            "_orvelctl \"$@\"\n";
    return text;
}

std::string fishQuoted(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "'";
}

std::string fish() {
    std::string text = "# fish completion for orvelctl, generated from its command table.\n"
                       "# The command words typed so far, without options and their values.\n"
                       "function __orvelctl_command\n"
                       "    set -l skip 0\n"
                       "    set -l words\n"
                       "    set -l tokens (commandline -opc)\n"
                       "    set -e tokens[1]\n"
                       "    for word in $tokens\n"
                       "        if test $skip = 1\n"
                       "            set skip 0\n"
                       "            continue\n"
                       "        end\n"
                       "        switch $word\n"
                       "            case " +
                       joined(namesOf(valueOptions()), " ") +
                       "\n"
                       "                set skip 1\n"
                       "            case '-*'\n"
                       "            case '*'\n"
                       "                set -a words $word\n"
                       "        end\n"
                       "    end\n"
                       "    string join ' ' -- $words\n"
                       "end\n"
                       "# Whether the command words are $argv[1] (then maybe arguments, with -a).\n"
                       "function __orvelctl_is\n"
                       "    set -l command \"$(__orvelctl_command)\"\n"
                       "    test \"$command\" = \"$argv[1]\"\n"
                       "    or begin\n"
                       "        test \"$argv[2]\" = -a\n"
                       "        and string match -q -- \"$argv[1] *\" \"$command\"\n"
                       "    end\n"
                       "end\n"
                       "complete -c orvelctl -f\n";
    for (const auto& state : states()) {
        const std::string condition =
            "-n " +
            fishQuoted("__orvelctl_is " + fishQuoted(state.words) + (state.arguments ? " -a" : ""));
        for (const auto& word : state.next) {
            text += "complete -c orvelctl " + condition + " -a " + fishQuoted(word.name) + " -d " +
                    fishQuoted(word.summary) + "\n";
        }
        for (const auto* option : state.options) {
            text +=
                "complete -c orvelctl " + condition + " -l " + fishQuoted(option->name.substr(2));
            if (option->directoryValue) {
                text += " -x -a '(__fish_complete_directories)'";
            } else if (!option->choices.empty()) {
                text += " -x -a " + fishQuoted(choiceWords(*option));
            } else if (option->takesValue()) {
                text += " -x";
            }
            if (!option->help.empty()) {
                // Up to an aside: "machine-readable output".
                const auto line = firstLine(option->help);
                text += " -d " + fishQuoted(line.substr(0, line.find(" (")));
            }
            text += "\n";
        }
    }
    return text;
}

} // namespace

std::optional<Shell> shellNamed(std::string_view name) {
    if (name == "bash") {
        return Shell::bash;
    }
    if (name == "zsh") {
        return Shell::zsh;
    }
    if (name == "fish") {
        return Shell::fish;
    }
    return std::nullopt;
}

std::string completionScript(Shell shell) {
    switch (shell) {
    case Shell::bash:
        return bash();
    case Shell::zsh:
        return zsh();
    case Shell::fish:
        return fish();
    }
    return {};
}

} // namespace Orvel::Cli
