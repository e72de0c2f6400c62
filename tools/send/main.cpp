// orvel-send: publishes one update to an Orvel channel with its publish token.

#include "tools/send/Publisher.h"
#include "tools/send/SendCommand.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace {

OrvelKit::Expected<std::string, std::string> readFile(const std::string& path) {
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return OrvelKit::unexpected("cannot read " + path);
    }
    text << in.rdbuf();
    return text.str();
}

} // namespace

int main(int argc, char** argv) {
    OrvelSend::SendEnvironment environment;
    if (const char* token = std::getenv("ORVEL_PUBLISH_TOKEN")) {
        environment.tokenFromEnvironment = token;
    }
    environment.readFile = readFile;

    auto parsed =
        OrvelSend::parseSendCommand(std::vector<std::string>(argv + 1, argv + argc), environment);
    if (!parsed) {
        std::cerr << "orvel-send: " << parsed.error() << "\n(see orvel-send --help)\n";
        return 2;
    }
    if (parsed->help) {
        std::cout << OrvelSend::sendUsage;
        return 0;
    }
    auto published = OrvelSend::publish(parsed->command);
    if (!published) {
        std::cerr << "orvel-send: " << published.error() << '\n';
        return 1;
    }
    std::cout << *published << '\n';
    return 0;
}
