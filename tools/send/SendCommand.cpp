#include "tools/send/SendCommand.h"

#include <map>
#include <set>

namespace OrvelSend {

using namespace OrvelProtocol;

const std::string_view sendUsage =
    R"(usage: orvel-send --server URL --token orvel_pub_... --title TEXT [options]
       orvel-send --server URL --token orvel_pub_... --card-json FILE|-

Publishes one update (or one persistent-card update) to the channel of the
publish token, and prints the id and sequence number the service assigned.

  --server URL          base URL of the Orvel service, e.g. http://127.0.0.1:8787
  --token TOKEN         the channel's publish token (or set ORVEL_PUBLISH_TOKEN,
                        which keeps the token out of the process list)
  --channel ID          the channel; optional, the token already names it (a
                        channel other than the token's is refused)
  --title TEXT          headline of the update (required for an update)
  --status TEXT         need, running, done, failed, info or idle (free text)
  --urgency LEVEL       low, normal (default), high or critical
  --body TEXT           main text
  --sender NAME         the agent's name (default: the key's sender)
  --details TEXT        secondary text
  --deliver-when WHEN   immediately, best_effort, morning, next_day or a timestamp
  --field LABEL=VALUE   a labelled value; repeatable
  --link LABEL=URL      a labelled link; repeatable
  --color HEX           accent colour, e.g. "#3366ff"
  --kind KIND           message (default) or card
  --card-json FILE|-    publish a persistent-card update read from FILE or
                        standard input (a JSON object with card_key, channel,
                        definition, operation and update_id; "channel" may be "")
  --help                show this text
)";

namespace {

using OrvelKit::unexpected;

const std::set<std::string_view> valueOptions{
    "--server",  "--token", "--channel", "--title",   "--status",
    "--urgency", "--body",  "--sender",  "--details", "--deliver-when",
    "--field",   "--link",  "--color",   "--kind",    "--card-json"};
const std::set<std::string_view> repeatable{"--field", "--link"};
const std::set<std::string_view> messageOnly{"--title",  "--status",  "--urgency",      "--body",
                                             "--sender", "--details", "--deliver-when", "--field",
                                             "--link",   "--color",   "--kind"};

OrvelKit::Expected<std::pair<std::string, std::string>, std::string>
labelled(const std::string& option, const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        return unexpected(option + " needs LABEL=VALUE, got \"" + text + "\"");
    }
    return std::pair{text.substr(0, equals), text.substr(equals + 1)};
}

std::optional<std::string>
single(const std::multimap<std::string, std::string, std::less<>>& options, std::string_view name) {
    const auto found = options.find(name);
    return found == options.end() ? std::nullopt : std::optional(found->second);
}

} // namespace

OrvelKit::Expected<ParsedCommand, std::string>
parseSendCommand(const std::vector<std::string>& arguments, const SendEnvironment& environment) {
    std::multimap<std::string, std::string, std::less<>> options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "--help" || name == "-h") {
            return ParsedCommand{true, {}};
        }
        std::optional<std::string> value;
        if (const auto equals = name.find('=');
            name.starts_with("--") && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (!valueOptions.contains(name)) {
            return unexpected("unknown option " + name);
        }
        if (!value) {
            if (i + 1 >= arguments.size()) {
                return unexpected(name + " needs a value");
            }
            value = arguments[++i];
        }
        if (options.contains(name) && !repeatable.contains(name)) {
            return unexpected(name + " given twice");
        }
        options.emplace(name, *value);
    }

    ParsedCommand parsed;
    SendCommand& command = parsed.command;
    command.server = single(options, "--server").value_or("");
    if (command.server.empty()) {
        return unexpected(std::string("--server is required"));
    }
    if (!command.server.starts_with("http://") && !command.server.starts_with("https://")) {
        return unexpected("--server must be an http:// or https:// URL, got \"" + command.server +
                          "\"");
    }
    command.token =
        single(options, "--token").value_or(environment.tokenFromEnvironment.value_or(""));
    if (command.token.empty()) {
        return unexpected(std::string("--token (or ORVEL_PUBLISH_TOKEN) is required"));
    }
    const std::string channel = single(options, "--channel").value_or("");

    if (const auto cardFile = single(options, "--card-json")) {
        for (const auto& [name, value] : options) {
            if (messageOnly.contains(name)) {
                return unexpected(name + " cannot be combined with --card-json");
            }
        }
        if (!environment.readFile) {
            return unexpected(std::string("cannot read files"));
        }
        auto text = environment.readFile(*cardFile);
        if (!text) {
            return unexpected(text.error());
        }
        auto input = decode<PersistentCardUpdateInput>(*text);
        if (!input) {
            return unexpected(*cardFile + " is not a card update: " + input.error().description());
        }
        if (!channel.empty()) {
            input->channel = channel;
        }
        command.payload = std::move(*input);
        return parsed;
    }

    NotificationInput input;
    input.channel = channel;
    input.title = single(options, "--title").value_or("");
    if (input.title.empty()) {
        return unexpected(std::string("--title is required"));
    }
    input.status = single(options, "--status");
    input.body = single(options, "--body");
    input.sender = single(options, "--sender");
    input.details = single(options, "--details");
    input.deliverWhen = single(options, "--deliver-when");
    input.color = single(options, "--color");
    if (const auto urgency = single(options, "--urgency")) {
        const auto value = OrvelKit::Json::fromText<Urgency>(*urgency);
        if (!value) {
            return unexpected("--urgency must be one of " + OrvelKit::Json::caseList<Urgency>());
        }
        input.urgency = *value;
    }
    if (const auto kind = single(options, "--kind")) {
        const auto value = OrvelKit::Json::fromText<Kind>(*kind);
        if (!value) {
            return unexpected("--kind must be one of " + OrvelKit::Json::caseList<Kind>());
        }
        input.kind = *value;
    }
    // multimap keeps repeated options in the order given.
    for (auto [it, end] = options.equal_range("--field"); it != end; ++it) {
        auto field = labelled("--field", it->second);
        if (!field) {
            return unexpected(field.error());
        }
        input.fields.push_back(CardField{field->first, field->second});
    }
    for (auto [it, end] = options.equal_range("--link"); it != end; ++it) {
        auto link = labelled("--link", it->second);
        if (!link) {
            return unexpected(link.error());
        }
        input.links.push_back(Link{link->first, link->second});
    }
    command.payload = std::move(input);
    return parsed;
}

} // namespace OrvelSend
