#include "orvel/cli/RemoteCommand.h"

#include "orvel/cli/ControlBus.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <systemd/sd-bus.h>

namespace Orvel::Cli {

using OrvelKit::unexpected;

namespace {

struct BusDeleter {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct MessageDeleter {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using Bus = std::unique_ptr<sd_bus, BusDeleter>;
using Message = std::unique_ptr<sd_bus_message, MessageDeleter>;

std::string describe(int result, const sd_bus_error& error) {
    if (error.message && *error.message) {
        return error.message;
    }
    return std::strerror(-result);
}

OrvelKit::Expected<Bus, std::string> sessionBus() {
    sd_bus* raw = nullptr;
    if (const int result = sd_bus_open_user(&raw); result < 0) {
        return unexpected("no session bus (" + std::string(std::strerror(-result)) + ")");
    }
    Bus bus(raw);
    sd_bus_set_method_call_timeout(bus.get(),
                                   std::uint64_t{ControlBus::callTimeoutSeconds} * 1'000'000);
    return bus;
}

// Builds the call of `invocation`'s method with its arguments.
int appendArguments(sd_bus_message* call, const Invocation& invocation, bool color) {
    const int json = invocation.json ? 1 : 0;
    const int colour = color ? 1 : 0;
    switch (invocation.command) {
    case Command::dismiss:
        return sd_bus_message_append(call, "sb", invocation.updateId.c_str(), colour);
    case Command::readAll:
        return sd_bus_message_append(call, "b", colour);
    case Command::channelRename:
        return sd_bus_message_append(call, "ssb", invocation.channel.c_str(),
                                     invocation.name.c_str(), colour);
    case Command::channelRotate:
        return sd_bus_message_append(call, "sybb", invocation.channel.c_str(),
                                     invocation.graceHours, json, colour);
    case Command::channelRetire:
        return sd_bus_message_append(call, "sb", invocation.channel.c_str(), colour);
    default:
        return sd_bus_message_append(call, "bb", json, colour);
    }
}

const char* methodOf(Command command) {
    switch (command) {
    case Command::status:
        return "Status";
    case Command::sync:
        return "Sync";
    case Command::dismiss:
        return "Dismiss";
    case Command::readAll:
        return "ReadAll";
    case Command::channelCreate:
        return "CreateChannel";
    case Command::channelRename:
        return "RenameChannel";
    case Command::channelRotate:
        return "RotateChannelKey";
    case Command::channelRetire:
        return "RetireChannel";
    case Command::pair:
        return "Pair";
    default:
        return nullptr;
    }
}

} // namespace

OrvelKit::Expected<RemoteOutcome, std::string>
runRemotely(std::string_view busName, const Invocation& invocation, bool color) {
    const char* method = methodOf(invocation.command);
    if (!method) {
        return unexpected(std::string("that command cannot be handed over"));
    }
    auto bus = sessionBus();
    if (!bus) {
        return unexpected(bus.error());
    }
    const std::string destination(busName);
    sd_bus_message* rawCall = nullptr;
    int result =
        sd_bus_message_new_method_call(bus->get(), &rawCall, destination.c_str(),
                                       ControlBus::objectPath, ControlBus::interfaceName, method);
    Message call(rawCall);
    if (result >= 0) {
        result = appendArguments(call.get(), invocation, color);
    }
    if (result < 0) {
        return unexpected(std::string(std::strerror(-result)));
    }
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* rawReply = nullptr;
    result = sd_bus_call(bus->get(), call.get(), 0, &error, &rawReply);
    Message reply(rawReply);
    if (result < 0) {
        auto reason = describe(result, error);
        sd_bus_error_free(&error);
        return unexpected(std::move(reason));
    }
    std::int32_t status = 1;
    const char* out = nullptr;
    const char* err = nullptr;
    if (result = sd_bus_message_read(reply.get(), "iss", &status, &out, &err); result < 0) {
        return unexpected("an answer of the wrong shape (" + std::string(std::strerror(-result)) +
                          ")");
    }
    return RemoteOutcome{status, out, err};
}

} // namespace Orvel::Cli
