#include "orvel/cli/Commands.h"

#include "orvel/cli/CliSession.h"
#include "orvel/cli/JsonReports.h"
#include "orvel/cli/Reports.h"
#include "orvel/cli/TerminalText.h"
#include "orvel/cli/TextReports.h"
#include "orvel/cli/Watch.h"
#include "orvel/core/AgentInstructions.h"
#include "orvelkit/presentation/WebInbox.h"

namespace Orvel::Cli {

namespace {

// What a command works with.
struct Context {
    const Invocation& invocation;
    const CliEnvironment& environment;
    CliSession& session;
    Style style;

    AppModel& model() { return session.model(); }
    std::ostream& out() { return environment.out; }

    int fail(std::string_view message) {
        environment.err << "orvelctl: " << terminalSafe(message) << '\n';
        return exitFailure;
    }
    // The model's error text, or `fallback` when it has none.
    int failWithModelError(std::string_view fallback) {
        return fail(model().lastError().value_or(std::string(fallback)));
    }
    // After the main work succeeded: a follow-up refresh may still have failed.
    void warnAboutModelError() {
        if (const auto& error = model().lastError()) {
            environment.err << "orvelctl: warning: " << terminalSafe(*error) << '\n';
        }
    }
};

int status(Context& c) {
    const bool checked = !c.invocation.offline;
    if (checked) {
        c.session.run(c.model().refresh());
    }
    const auto report = statusReport(c.model(), checked);
    if (c.invocation.json) {
        c.out() << JsonReports::status(report);
    } else {
        TextReports::writeStatus(c.out(), report, c.style);
    }
    if (checked && report.lastError) {
        return c.fail(*report.lastError);
    }
    return exitSuccess;
}

int sync(Context& c) {
    // Like opening the panel: the briefing covers the time since the last look.
    c.model().beginBriefingSession();
    c.session.run(c.model().refresh());
    const auto report = syncReport(c.model());
    if (c.invocation.json) {
        c.out() << JsonReports::sync(report);
    } else {
        TextReports::writeBriefing(c.out(), report.briefing, c.style);
    }
    if (report.error) {
        return c.fail(*report.error);
    }
    return exitSuccess;
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

int dismiss(Context& c) {
    const auto note = c.model().note(c.invocation.updateId);
    if (!note) {
        return noSuchUpdate(c);
    }
    c.model().dismiss(c.invocation.updateId);
    const bool answered = c.session.settle();
    if (c.model().lastError()) {
        return c.fail(*c.model().lastError() + " (it is sent again with the next sync)");
    }
    if (!answered) {
        return c.fail("the service did not answer in time; the dismissal is sent again with the "
                      "next sync");
    }
    c.out() << "Dismissed: " << terminalSafe(note->title) << '\n';
    return exitSuccess;
}

int readAll(Context& c) {
    const auto unread = c.model().sourceInbox().totalUnread();
    c.model().markAllRead();
    // As in the app, a read mark the service refuses is not reported: the
    // marks are local first, and the next "read all" sends them again.
    if (!c.session.settle()) {
        c.environment.err << "orvelctl: warning: the service did not confirm every read mark\n";
    }
    c.out() << "Marked " << unread << (unread == 1 ? " update" : " updates") << " read\n";
    return exitSuccess;
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

int channelCreate(Context& c) {
    c.session.run(c.model().createEngagement());
    const auto& engagement = c.model().engagement();
    if (!engagement) {
        return c.failWithModelError("Couldn't create channel");
    }
    const auto instructions = AgentInstructions::channelInstructions(*engagement);
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
    return exitSuccess;
}

int channelRename(Context& c) {
    if (!c.session.run(c.model().renameChannel(c.invocation.channel, c.invocation.name))) {
        return c.failWithModelError("Couldn't update that channel's display name");
    }
    c.out() << "Renamed " << terminalSafe(c.invocation.channel) << " to \""
            << terminalSafe(c.invocation.name) << "\"\n";
    c.warnAboutModelError();
    return exitSuccess;
}

int channelRotate(Context& c) {
    const auto rotation =
        c.session.run(c.model().rotateKey(c.invocation.channel, c.invocation.graceHours));
    if (!rotation) {
        return c.failWithModelError("Couldn't rotate that channel key");
    }
    const auto instructions = AgentInstructions::replacementInstructions(*rotation);
    if (c.invocation.json) {
        c.out() << JsonReports::rotation(*rotation, instructions);
        return exitSuccess;
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
    return exitSuccess;
}

int channelRetire(Context& c) {
    if (!c.session.run(c.model().retireChannel(c.invocation.channel))) {
        return c.failWithModelError("Couldn't retire that channel");
    }
    c.out() << "Retired " << terminalSafe(c.invocation.channel) << '\n';
    return exitSuccess;
}

int pair(Context& c) {
    const auto code = c.session.run(c.model().makePairingCode());
    if (!code) {
        return c.failWithModelError("Couldn't create a pairing code");
    }
    const auto link = OrvelKit::WebInbox::pairingURL(code->code);
    if (c.invocation.json) {
        c.out() << JsonReports::pairing(*code, link);
    } else {
        TextReports::writePairing(c.out(), *code, link, c.environment.clock.now(),
                                  c.model().calendar(), c.style);
    }
    return exitSuccess;
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

int dispatch(Context& c) {
    switch (c.invocation.command) {
    case Command::status:
        return status(c);
    case Command::sync:
        return sync(c);
    case Command::updates:
        return updates(c);
    case Command::show:
        return show(c);
    case Command::dismiss:
        return dismiss(c);
    case Command::readAll:
        return readAll(c);
    case Command::channels:
        return channels(c);
    case Command::channelCreate:
        return channelCreate(c);
    case Command::channelRename:
        return channelRename(c);
    case Command::channelRotate:
        return channelRotate(c);
    case Command::channelRetire:
        return channelRetire(c);
    case Command::pair:
        return pair(c);
    case Command::cards:
        return cards(c);
    case Command::help:
    case Command::watch:
        break;
    }
    return exitUsage;
}

} // namespace

int run(const Invocation& invocation, const CliEnvironment& environment) {
    if (invocation.help || invocation.command == Command::help) {
        environment.out << usage(invocation.command);
        return exitSuccess;
    }
    if (invocation.command == Command::watch) {
        return watch(invocation, environment);
    }
    auto session =
        CliSession::open(environment, {invocation.dataDirectory, invocation.server, nullptr});
    if (!session) {
        environment.err << "orvelctl: " << terminalSafe(session.error()) << '\n';
        return exitFailure;
    }
    Context context{invocation, environment, **session, Style(environment.color)};
    int status = dispatch(context);
    const auto problems = (*session)->finish();
    for (const auto& line : problems.lines) {
        environment.err << "orvelctl: " << terminalSafe(line) << '\n';
    }
    if (problems.failed && status == exitSuccess) {
        status = exitFailure;
    }
    return status;
}

int reportUsageError(const UsageError& error, std::ostream& err) {
    err << "orvelctl: " << terminalSafe(error.message) << "\n\n" << usage(error.topic);
    return exitUsage;
}

int run(const std::vector<std::string>& arguments, const CliEnvironment& environment) {
    const auto invocation = parseCommandLine(arguments);
    if (!invocation) {
        return reportUsageError(invocation.error(), environment.err);
    }
    return run(*invocation, environment);
}

} // namespace Orvel::Cli
