// orvel-docgen: writes a generated document to a file.
//   orvel-docgen completions bash|zsh|fish FILE
//   orvel-docgen man orvelctl|orvel-send|orvel-server|orvel-devserver FILE

#include "orvel/cli/CompletionScripts.h"
#include "orvel/cli/ManPage.h"
#include "tools/devserver/Usage.h"
#include "tools/send/SendCommand.h"

#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

std::optional<std::string> document(std::string_view kind, std::string_view name) {
    using namespace Orvel::Cli;
    if (kind == "completions") {
        const auto shell = shellNamed(name);
        return shell ? std::optional(completionScript(*shell)) : std::nullopt;
    }
    if (kind != "man") {
        return std::nullopt;
    }
    if (name == "orvelctl") {
        return orvelctlManPage();
    }
    if (name == "orvel-send") {
        return manPageFromHelp(name, "publish one update to an Orvel channel",
                               OrvelSend::sendUsage);
    }
    if (name == "orvel-server") {
        return manPageFromHelp(name, "the Orvel service that agents post to and desktops sync from",
                               OrvelDev::serverUsage);
    }
    if (name == "orvel-devserver") {
        return manPageFromHelp(name,
                               "the Orvel service in development mode, for development and tests",
                               OrvelDev::devServerUsage);
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: orvel-docgen completions|man NAME FILE\n";
        return 2;
    }
    const auto text = document(argv[1], argv[2]);
    if (!text) {
        std::cerr << "orvel-docgen: no " << argv[1] << " named " << argv[2] << '\n';
        return 2;
    }
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out << *text;
    out.close();
    if (!out) {
        std::cerr << "orvel-docgen: cannot write " << argv[3] << '\n';
        return 1;
    }
    return 0;
}
