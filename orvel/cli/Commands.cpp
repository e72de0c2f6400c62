#include "orvel/cli/Commands.h"

#include "orvel/cli/CliSession.h"
#include "orvel/cli/ModelCommands.h"
#include "orvel/cli/RemoteCommand.h"
#include "orvel/cli/TerminalText.h"
#include "orvel/cli/Watch.h"

namespace Orvel::Cli {

namespace {

// Another process holds the data directory: a change goes to it over the
// session bus, to be carried out there and reported here as if done here.
int handOver(const Invocation& invocation, const CliEnvironment& environment,
             const SessionError& busy) {
    auto& err = environment.err;
    if (invocation.server) {
        err << "orvelctl: " << terminalSafe(busy.message)
            << "; --server can't change it meanwhile\n";
        return exitFailure;
    }
    if (invocation.command == Command::join) {
        err << "orvelctl: " << terminalSafe(busy.message)
            << "; it already follows an account: join from another --data-dir\n";
        return exitFailure;
    }
    std::string reason = "it takes no requests";
    if (busy.holder && !busy.holder->busName.empty()) {
        auto outcome = runRemotely(busy.holder->busName, invocation, environment.color);
        if (outcome) {
            environment.out << outcome->out;
            err << outcome->err;
            return outcome->status;
        }
        reason = outcome.error();
    }
    err << "orvelctl: " << terminalSafe(busy.message)
        << " that can't be reached: " << terminalSafe(reason) << '\n';
    return exitFailure;
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
    // Only the holder of the directory's lock may write its files; reading
    // takes what they hold.
    const bool exclusive = changesState(invocation) || invocation.server;
    auto session = CliSession::open(
        environment, {invocation.dataDirectory, invocation.server, nullptr, exclusive});
    if (!session) {
        if (session.error().busy) {
            return handOver(invocation, environment, session.error());
        }
        environment.err << "orvelctl: " << terminalSafe(session.error().message) << '\n';
        return exitFailure;
    }
    auto& opened = **session;
    int status = opened.run(runCommand(
        invocation,
        CommandTarget{opened.model(), environment.clock, [&opened] { return opened.settle(); }},
        CommandOutput{environment.out, environment.err, environment.color}));
    const auto problems = opened.finish();
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
