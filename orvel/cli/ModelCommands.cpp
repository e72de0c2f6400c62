#include "orvel/cli/ModelCommands.h"

#include "orvel/cli/CliEnvironment.h"
#include "orvel/cli/JsonReports.h"
#include "orvel/cli/Reports.h"
#include "orvel/cli/TerminalText.h"
#include "orvel/cli/TextReports.h"
#include "orvel/core/AgentInstructions.h"
#include "orvelkit/presentation/WebInbox.h"

namespace Orvel::Cli {

namespace {

// What a command works with.
struct Context {
    const Invocation& invocation;
    CommandTarget target;
    CommandOutput output;
    Style style;

    AppModel& model() { return target.model; }
    std::ostream& out() { return output.out; }

    int fail(std::string_view message) {
        output.err << "orvelctl: " << terminalSafe(message) << '\n';
        return exitFailure;
    }
    // The model's error text, or `fallback` when it has none.
    int failWithModelError(std::string_view fallback) {
        return fail(model().lastError().value_or(std::string(fallback)));
    }
    // After the main work succeeded: a follow-up refresh may still have failed.
    void warnAboutModelError() {
        if (const auto& error = model().lastError()) {
            output.err << "orvelctl: warning: " << terminalSafe(*error) << '\n';
        }
    }
};

OrvelKit::Task<int> status(Context& c) {
    const bool checked = !c.invocation.offline;
    if (checked) {
        co_await c.model().refresh();
    }
    const auto report = statusReport(c.model(), checked);
    if (c.invocation.json) {
        c.out() << JsonReports::status(report);
    } else {
        TextReports::writeStatus(c.out(), report, c.style);
    }
    if (checked && report.lastError) {
        co_return c.fail(*report.lastError);
    }
    co_return exitSuccess;
}

OrvelKit::Task<int> sync(Context& c) {
    // Like opening the panel: the briefing covers the time since the last look.
    c.model().beginBriefingSession();
    co_await c.model().refresh();
    const auto report = syncReport(c.model());
    if (c.invocation.json) {
        c.out() << JsonReports::sync(report);
    } else {
        TextReports::writeBriefing(c.out(), report.briefing, c.style);
    }
    if (report.error) {
        co_return c.fail(*report.error);
    }
    co_return exitSuccess;
}

int updates(Context& c) {
    const auto report = updatesReport(c.model(), c.invocation.filter);
    if (c.invocation.json) {
        c.out() << JsonReports::updates(report);
    } else {
        TextReports::writeUpdates(c.out(), report, c.style);
    }
    return exitSuccess;
}

int noSuchUpdate(Context& c) {
    return c.fail("no update \"" + c.invocation.updateId +
                  "\" in the local inbox (orvelctl sync fetches new ones)");
}

int show(Context& c) {
    const auto detail = updateDetail(c.model(), c.invocation.updateId);
    if (!detail) {
        return noSuchUpdate(c);
    }
    if (c.invocation.json) {
        c.out() << JsonReports::update(*detail);
    } else {
        TextReports::writeUpdate(c.out(), *detail, c.model().calendar(), c.style);
    }
    return exitSuccess;
}

OrvelKit::Task<int> dismiss(Context& c) {
    const auto note = c.model().note(c.invocation.updateId);
    if (!note) {
        co_return noSuchUpdate(c);
    }
    c.model().dismiss(c.invocation.updateId);
    const bool answered = co_await c.target.settle();
    if (c.model().lastError()) {
        co_return c.fail(*c.model().lastError() + " (it is sent again with the next sync)");
    }
    if (!answered) {
        co_return c.fail("the service did not answer in time; the dismissal is sent again with the "
                         "next sync");
    }
    c.out() << "Dismissed: " << terminalSafe(note->title) << '\n';
    co_return exitSuccess;
}

OrvelKit::Task<int> readAll(Context& c) {
    const auto unread = c.model().sourceInbox().totalUnread();
    c.model().markAllRead();
    // As in the app, a read mark the service refuses is not reported: the
    // marks are local first, and the next "read all" sends them again.
    // Named, not awaited inside the condition: GCC 12 ends the awaited
    // task's life too early there.
    const bool settled = co_await c.target.settle();
    if (!settled) {
        c.output.err << "orvelctl: warning: the service did not confirm every read mark\n";
    }
    c.out() << "Marked " << unread << (unread == 1 ? " update" : " updates") << " read\n";
    co_return exitSuccess;
}

int channels(Context& c) {
    const auto channels = channelsReport(c.model());
    if (c.invocation.json) {
        c.out() << JsonReports::channels(channels);
    } else {
        TextReports::writeChannels(c.out(), channels, c.style);
    }
    return exitSuccess;
}

OrvelKit::Task<int> channelCreate(Context& c) {
    co_await c.model().createEngagement();
    const auto& engagement = c.model().engagement();
    if (!engagement) {
        co_return c.failWithModelError("Couldn't create channel");
    }
    const auto instructions = AgentInstructions::channelInstructions(
        *engagement, OrvelKit::ServiceAddresses(c.model().config().serverURL));
    if (c.invocation.json) {
        c.out() << JsonReports::engagement(*engagement, instructions);
    } else {
        c.out() << "Created channel " << c.style.bold(terminalSafe(engagement->channel)) << " for "
                << terminalSafe(engagement->sender) << ".\n"
                << "Paste these instructions into your agent. They hold the channel's publish "
                   "key, shown only now: keep them secret.\n\n"
                << terminalSafe(instructions) << '\n';
    }
    c.warnAboutModelError();
    co_return exitSuccess;
}

OrvelKit::Task<int> channelRename(Context& c) {
    const bool renamed = co_await c.model().renameChannel(c.invocation.channel, c.invocation.name);
    if (!renamed) {
        co_return c.failWithModelError("Couldn't update that channel's display name");
    }
    c.out() << "Renamed " << terminalSafe(c.invocation.channel) << " to \""
            << terminalSafe(c.invocation.name) << "\"\n";
    c.warnAboutModelError();
    co_return exitSuccess;
}

OrvelKit::Task<int> channelRotate(Context& c) {
    const auto rotation =
        co_await c.model().rotateKey(c.invocation.channel, c.invocation.graceHours);
    if (!rotation) {
        co_return c.failWithModelError("Couldn't rotate that channel key");
    }
    const auto instructions = AgentInstructions::replacementInstructions(*rotation);
    if (c.invocation.json) {
        c.out() << JsonReports::rotation(*rotation, instructions);
        co_return exitSuccess;
    }
    c.out() << "Rotated the key of " << c.style.bold(terminalSafe(rotation->channel)) << ". ";
    if (c.invocation.graceHours == 0) {
        c.out() << "The previous key no longer works.\n";
    } else if (rotation->previousKeysExpireAt) {
        c.out() << "The previous key works until " << terminalSafe(*rotation->previousKeysExpireAt)
                << ".\n";
    } else {
        c.out() << "The previous key keeps working for " << int{c.invocation.graceHours}
                << " hours.\n";
    }
    c.out() << "Hand these instructions to " << terminalSafe(rotation->sender)
            << ". They hold the new key, shown only now: keep them secret.\n\n"
            << terminalSafe(instructions) << '\n';
    co_return exitSuccess;
}

OrvelKit::Task<int> channelRetire(Context& c) {
    const bool retired = co_await c.model().retireChannel(c.invocation.channel);
    if (!retired) {
        co_return c.failWithModelError("Couldn't retire that channel");
    }
    c.out() << "Retired " << terminalSafe(c.invocation.channel) << '\n';
    co_return exitSuccess;
}

OrvelKit::Task<int> pair(Context& c) {
    const auto code = co_await c.model().makePairingCode();
    if (!code) {
        co_return c.failWithModelError("Couldn't create a pairing code");
    }
    const auto link = OrvelKit::WebInbox::pairingURL(code->code, c.model().config().serverURL);
    if (c.invocation.json) {
        c.out() << JsonReports::pairing(*code, link);
    } else {
        TextReports::writePairing(c.out(), *code, link, c.target.clock.now(), c.model().calendar(),
                                  c.style);
    }
    co_return exitSuccess;
}

OrvelKit::Task<int> join(Context& c) {
    if (!co_await c.model().joinWithCode(c.invocation.pairingCode)) {
        co_return c.failWithModelError("Couldn't join with that code");
    }
    const auto channels = c.model().inbox().channels().size();
    c.out() << "Joined. This directory now follows the account's " << channels
            << (channels == 1 ? " channel" : " channels") << ".\n";
    c.warnAboutModelError();
    co_return exitSuccess;
}

int cards(Context& c) {
    const auto report = cardsReport(c.model());
    if (c.invocation.json) {
        c.out() << JsonReports::cards(report);
    } else {
        TextReports::writeCards(c.out(), report, c.style);
    }
    return exitSuccess;
}

OrvelKit::Task<int> dispatch(Context& c) {
    switch (c.invocation.command) {
    case Command::status:
        co_return co_await status(c);
    case Command::sync:
        co_return co_await sync(c);
    case Command::updates:
        co_return updates(c);
    case Command::show:
        co_return show(c);
    case Command::dismiss:
        co_return co_await dismiss(c);
    case Command::readAll:
        co_return co_await readAll(c);
    case Command::channels:
        co_return channels(c);
    case Command::channelCreate:
        co_return co_await channelCreate(c);
    case Command::channelRename:
        co_return co_await channelRename(c);
    case Command::channelRotate:
        co_return co_await channelRotate(c);
    case Command::channelRetire:
        co_return co_await channelRetire(c);
    case Command::pair:
        co_return co_await pair(c);
    case Command::join:
        co_return co_await join(c);
    case Command::cards:
        co_return cards(c);
    case Command::help:
    case Command::watch:
        break;
    }
    co_return exitUsage;
}

} // namespace

OrvelKit::Task<int> runCommand(Invocation invocation, CommandTarget target, CommandOutput output) {
    Context context{invocation, std::move(target), output, Style(output.color)};
    co_return co_await dispatch(context);
}

bool changesState(const Invocation& invocation) {
    switch (invocation.command) {
    case Command::status:
        return !invocation.offline;
    case Command::help:
    case Command::updates:
    case Command::show:
    case Command::channels:
    case Command::cards:
        return false;
    case Command::sync:
    case Command::watch:
    case Command::dismiss:
    case Command::readAll:
    case Command::channelCreate:
    case Command::channelRename:
    case Command::channelRotate:
    case Command::channelRetire:
    case Command::pair:
    case Command::join:
        return true;
    }
    return true;
}

} // namespace Orvel::Cli
