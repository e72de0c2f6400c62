#pragma once

// The command line of orvel-send, read into what to publish and where.

#include "orvelkit/protocol/Protocol.h"
#include "orvelkit/support/Expected.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace OrvelSend {

struct SendCommand {
    std::string server; // base URL of the service
    std::string token;  // the channel's publish token
    // An update for POST publish, or a card update for POST cards/publish.
    std::variant<OrvelProtocol::NotificationInput, OrvelProtocol::PersistentCardUpdateInput>
        payload;
};

// What the command line asks for: help, or a command.
struct ParsedCommand {
    bool help = false;
    SendCommand command;
};

// Where parsing reads from besides the arguments: the publish token from the
// environment, and the text of a --card-json file ("-" is standard input).
struct SendEnvironment {
    std::optional<std::string> tokenFromEnvironment;
    std::function<OrvelKit::Expected<std::string, std::string>(const std::string& path)> readFile;
};

// `arguments` excludes the program name. Errors are one line, for the user.
OrvelKit::Expected<ParsedCommand, std::string>
parseSendCommand(const std::vector<std::string>& arguments, const SendEnvironment& environment);

extern const std::string_view sendUsage;

} // namespace OrvelSend
