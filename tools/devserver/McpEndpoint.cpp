#include "tools/devserver/McpEndpoint.h"

#include "orvelkit/json/Json.h"
#include "tools/devserver/DevService.h"
#include "tools/devserver/McpArguments.h"
#include "tools/devserver/McpToolDefinition.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <simdjson.h>

#include <algorithm>
#include <cctype>

#ifndef ORVEL_VERSION
#define ORVEL_VERSION "0.0.0"
#endif

namespace OrvelDev {

namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;
using simdjson::dom::object;

enum ErrorCode : int {
    parseError = -32700,
    invalidRequest = -32600,
    methodNotFound = -32601,
    invalidParams = -32602,
    sessionNotFound = -32001,
};

using Writer = rapidjson::Writer<rapidjson::StringBuffer>;

// One JSON-RPC message: the envelope, then what `body` writes into it.
template <class Body>
std::string message(std::string_view rawId, Body body) {
    rapidjson::StringBuffer buffer;
    Writer writer(buffer);
    writer.StartObject();
    writer.Key("jsonrpc");
    writer.String("2.0");
    writer.Key("id");
    if (rawId.empty()) {
        writer.Null();
    } else {
        writer.RawValue(rawId.data(), rawId.size(), rapidjson::kStringType);
    }
    body(writer);
    writer.EndObject();
    return {buffer.GetString(), buffer.GetSize()};
}

std::string errorMessage(std::string_view rawId, int code, std::string_view text) {
    return message(rawId, [&](Writer& w) {
        w.Key("error");
        w.StartObject();
        w.Key("code");
        w.Int(code);
        w.Key("message");
        w.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
        w.EndObject();
    });
}

// `rawResult`: the result as JSON text.
std::string resultMessage(std::string_view rawId, std::string_view rawResult) {
    return message(rawId, [&](Writer& w) {
        w.Key("result");
        w.RawValue(rawResult.data(), rawResult.size(), rapidjson::kObjectType);
    });
}

McpReply reply(int status, std::string body) {
    McpReply out;
    out.status = status;
    out.body = std::move(body);
    return out;
}

std::string minified(element value) {
    return simdjson::minify(value);
}

std::string_view listedTool() {
    static const std::string text = [] {
        simdjson::dom::parser parser;
        element root;
        if (parser.parse(sendToolDefinition.data(), sendToolDefinition.size()).get(root)) {
            std::abort(); // the definition is fixed text; a test parses it
        }
        return "{\"tools\":[" + minified(root) + "]}";
    }();
    return text;
}

bool isSupportedVersion(std::string_view version) {
    const auto& all = McpEndpoint::supportedProtocolVersions;
    return std::find(std::begin(all), std::end(all), version) != std::end(all);
}

// An Origin naming the loopback host (any port), as a local tool's page does.
bool isLoopbackOrigin(std::string_view origin) {
    const auto scheme = origin.find("://");
    if (scheme == std::string_view::npos) {
        return false;
    }
    std::string host(origin.substr(scheme + 3));
    std::transform(host.begin(), host.end(), host.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto end = host.starts_with('[') ? host.find(']') + 1 : host.find(':');
    host = host.substr(0, end);
    return host == "localhost" || host == "127.0.0.1" || host == "[::1]";
}

// The text of a string member, absent when missing or not a string.
std::optional<std::string_view> textOf(object value, std::string_view key) {
    std::string_view text;
    if (value.at_key(key).get(text)) {
        return std::nullopt;
    }
    return text;
}

// `asked`: the client's protocol version; answered with it when supported.
std::string initializeResult(std::optional<std::string_view> asked) {
    std::string_view version = McpEndpoint::latestProtocolVersion;
    if (asked && isSupportedVersion(*asked)) {
        version = *asked;
    }
    rapidjson::StringBuffer buffer;
    Writer w(buffer);
    w.StartObject();
    w.Key("protocolVersion");
    w.String(version.data(), static_cast<rapidjson::SizeType>(version.size()));
    w.Key("capabilities");
    w.StartObject();
    w.Key("tools");
    w.StartObject();
    w.Key("listChanged");
    w.Bool(false);
    w.EndObject();
    w.EndObject();
    w.Key("serverInfo");
    w.StartObject();
    w.Key("name");
    w.String("orvel-devserver");
    w.Key("title");
    w.String("Orvel");
    w.Key("version");
    w.String(ORVEL_VERSION);
    w.EndObject();
    w.Key("instructions");
    w.String("Post updates for the user with the orvel_send tool, using the channel_key from your "
             "instructions as it is and never repeating it. The service's /llms.txt says when to "
             "send and which status to use.");
    w.EndObject();
    return {buffer.GetString(), buffer.GetSize()};
}

// A tool result carrying the acknowledgement both as text and as structured content.
std::string toolResult(const std::string& ackJson) {
    rapidjson::StringBuffer buffer;
    Writer w(buffer);
    w.StartObject();
    w.Key("content");
    w.StartArray();
    w.StartObject();
    w.Key("type");
    w.String("text");
    w.Key("text");
    w.String(ackJson.data(), static_cast<rapidjson::SizeType>(ackJson.size()));
    w.EndObject();
    w.EndArray();
    w.Key("structuredContent");
    w.RawValue(ackJson.data(), ackJson.size(), rapidjson::kObjectType);
    w.Key("isError");
    w.Bool(false);
    w.EndObject();
    return {buffer.GetString(), buffer.GetSize()};
}

// A refusal the agent should read (a key that does not work, a retired
// channel): a tool result flagged as an error rather than a protocol error.
std::string toolRefusal(const ServiceError& error) {
    const std::string text =
        "Orvel refused the update (" + std::to_string(error.status) + "): " + error.message;
    rapidjson::StringBuffer buffer;
    Writer w(buffer);
    w.StartObject();
    w.Key("content");
    w.StartArray();
    w.StartObject();
    w.Key("type");
    w.String("text");
    w.Key("text");
    w.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
    w.EndObject();
    w.EndArray();
    w.Key("isError");
    w.Bool(true);
    w.EndObject();
    return {buffer.GetString(), buffer.GetSize()};
}

// A JSON-RPC error for the call, or the tool's result as JSON text.
struct CallOutcome {
    int code = 0;
    std::string text;
};

CallOutcome invalid(std::string text) {
    return {invalidParams, std::move(text)};
}

// Checks the arguments before anything reaches the service.
OrvelKit::Expected<SendArguments, std::string> sendArguments(element value) {
    object arguments;
    if (value.get_object().get(arguments)) {
        return OrvelKit::unexpected(std::string("\"arguments\" must be an object"));
    }
    bool card = false;
    bool other = false;
    for (const auto member : arguments) {
        const std::string_view key = member.key;
        if (!isSendArgumentKey(key)) {
            return OrvelKit::unexpected("unknown argument \"" + std::string(key) + "\"");
        }
        card = card || key == "card";
        other = other || (key != "card" && key != "channel_key");
    }
    auto decoded = OrvelKit::Json::decode<SendArguments>(minified(value));
    if (!decoded) {
        return OrvelKit::unexpected("invalid arguments: " + decoded.error().description());
    }
    if (card && other) {
        return OrvelKit::unexpected(std::string(
            "a card update takes only \"channel_key\" and \"card\"; send updates separately"));
    }
    if (!card && !decoded->title) {
        return OrvelKit::unexpected(
            std::string("\"title\" is required (or \"card\" for a persistent-card update)"));
    }
    return std::move(*decoded);
}

template <class Ack>
CallOutcome outcome(const ServiceResult<Ack>& result) {
    if (!result) {
        // The service's own argument checks: the caller's mistake, like a bad type.
        if (result.error().status == 400 || result.error().status == 413) {
            return invalid(result.error().message);
        }
        return {0, toolRefusal(result.error())};
    }
    auto ack = OrvelKit::Json::encode(*result);
    if (!ack) {
        return {invalidParams, "cannot encode the answer: " + ack.error().description()};
    }
    return {0, toolResult(*ack)};
}

} // namespace

McpEndpoint::McpEndpoint(ServiceRunner run, std::size_t sessionCapacity)
    : run_(std::move(run)), sessions_(sessionCapacity) {}

McpReply McpEndpoint::handle(const McpRequest& request) {
    if (request.origin && !isLoopbackOrigin(*request.origin)) {
        return reply(403,
                     errorMessage({}, invalidRequest, "requests from this origin are refused"));
    }
    if (request.method == "POST") {
        return post(request);
    }
    if (request.method == "DELETE") {
        return remove(request);
    }
    McpReply out = reply(405, errorMessage({}, invalidRequest, "use POST for this path"));
    out.allow = "POST, DELETE";
    return out;
}

McpReply McpEndpoint::remove(const McpRequest& request) {
    if (!request.sessionId) {
        return reply(400, errorMessage({}, invalidRequest, "missing Mcp-Session-Id header"));
    }
    if (!sessions_.close(*request.sessionId)) {
        return reply(404, errorMessage({}, sessionNotFound, "unknown session"));
    }
    return reply(200, {});
}

McpReply McpEndpoint::post(const McpRequest& request) {
    if (request.protocolVersion && !isSupportedVersion(*request.protocolVersion)) {
        return reply(400, errorMessage({}, invalidRequest, "unsupported MCP-Protocol-Version"));
    }
    // Not the codec's parser: arguments are decoded with that one while this
    // document is still in use.
    // Large bodies get a parser of their own, so no thread keeps their memory.
    thread_local simdjson::dom::parser smallBodies;
    simdjson::dom::parser largeBody;
    auto& parser = request.body.size() <= 64 * 1024 ? smallBodies : largeBody;
    element root;
    if (auto error = parser.parse(request.body.data(), request.body.size()).get(root)) {
        return reply(400,
                     errorMessage({}, parseError,
                                  std::string("parse error: ") + simdjson::error_message(error)));
    }
    object envelope;
    if (root.get_object().get(envelope)) {
        return reply(400, errorMessage({}, invalidRequest,
                                       root.is_array() ? "batches are not supported"
                                                       : "a request must be a JSON object"));
    }
    std::string rawId;
    element id;
    const bool hasId = !envelope.at_key("id").get(id);
    if (hasId) {
        if (id.type() != element_type::STRING && id.type() != element_type::INT64 &&
            id.type() != element_type::UINT64) {
            return reply(400,
                         errorMessage({}, invalidRequest, "\"id\" must be a string or an integer"));
        }
        rawId = minified(id);
    }
    if (textOf(envelope, "jsonrpc") != "2.0") {
        return reply(400, errorMessage(rawId, invalidRequest, "\"jsonrpc\" must be \"2.0\""));
    }
    const auto method = textOf(envelope, "method");
    if (!method) {
        const bool isResponse = hasId && (envelope.at_key("result").error() == simdjson::SUCCESS ||
                                          envelope.at_key("error").error() == simdjson::SUCCESS);
        if (isResponse) {
            return reply(202, {}); // we never ask the client anything; nothing to match
        }
        return reply(400, errorMessage(rawId, invalidRequest, "\"method\" must be a string"));
    }

    if (hasId && *method == "initialize") {
        object params;
        const bool hasParams = envelope.at_key("params").get(params) == simdjson::SUCCESS;
        McpReply out = reply(
            200, resultMessage(rawId, initializeResult(hasParams ? textOf(params, "protocolVersion")
                                                                 : std::nullopt)));
        out.sessionId = sessions_.open();
        return out;
    }
    if (!request.sessionId) {
        return reply(400, errorMessage(rawId, invalidRequest,
                                       "missing Mcp-Session-Id header: send initialize first"));
    }
    if (!sessions_.contains(*request.sessionId)) {
        return reply(
            404, errorMessage(rawId, sessionNotFound, "unknown session: send initialize again"));
    }
    if (!hasId) {
        return reply(202, {}); // notifications need no answer
    }

    if (*method == "ping") {
        return reply(200, resultMessage(rawId, "{}"));
    }
    if (*method == "tools/list") {
        return reply(200, resultMessage(rawId, listedTool()));
    }
    if (*method != "tools/call") {
        return reply(
            200, errorMessage(rawId, methodNotFound, "method not found: " + std::string(*method)));
    }

    object params;
    if (envelope.at_key("params").get(params)) {
        return reply(200, errorMessage(rawId, invalidParams, "\"params\" must be an object"));
    }
    const auto name = textOf(params, "name");
    if (name != toolName) {
        return reply(200, errorMessage(rawId, invalidParams,
                                       name ? "unknown tool: " + std::string(*name)
                                            : std::string("\"name\" must be a string")));
    }
    element argumentValue;
    if (params.at_key("arguments").get(argumentValue)) {
        return reply(200, errorMessage(rawId, invalidParams, "\"channel_key\" is required"));
    }
    auto arguments = sendArguments(argumentValue);
    if (!arguments) {
        return reply(200, errorMessage(rawId, invalidParams, arguments.error()));
    }

    CallOutcome result;
    const auto stored = run_([&](DevService& service) {
        result =
            arguments->card
                ? outcome(
                      service.publishCard(arguments->channelKey, cardUpdateInput(*arguments->card)))
                : outcome(service.publish(arguments->channelKey, notificationInput(*arguments)));
    });
    if (!stored) {
        result = {0, toolRefusal(stored.error())};
    }
    if (result.code != 0) {
        return reply(200, errorMessage(rawId, result.code, result.text));
    }
    return reply(200, resultMessage(rawId, result.text));
}

} // namespace OrvelDev
