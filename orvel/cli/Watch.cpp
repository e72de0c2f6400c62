#include "orvel/cli/Watch.h"

#include "orvel/cli/CliSession.h"
#include "orvel/cli/TerminalText.h"
#include "orvel/cli/TextReports.h"
#include "orvel/core/NotifierBackend.h"
#include "orvelkit/presentation/ChannelDescriptor.h"
#include "orvelkit/presentation/PersistentCardDescriptor.h"

#include <algorithm>
#include <map>

namespace Orvel::Cli {

namespace {

using OrvelKit::Inbox;

// The notification service of a terminal: permission is granted at once and
// each notification becomes a printed line.
class PrintingNotifierBackend final : public NotifierBackend {
public:
    void requestAuthorization(std::function<void(bool granted)> completion) override {
        completion(true);
    }
    void add(const NotificationRequest& request) override {
        if (print_) {
            print_(request);
        }
    }
    void onAdd(std::function<void(const NotificationRequest&)> print) { print_ = std::move(print); }

private:
    std::function<void(const NotificationRequest&)> print_;
};

// The newest update each channel holds.
std::map<std::string, std::uint64_t> newestStored(const Inbox& inbox) {
    std::map<std::string, std::uint64_t> newest;
    for (const auto& channel : inbox.channels()) {
        auto& seq = newest[channel.channel()];
        for (const auto& note : channel.notifications()) {
            seq = std::max(seq, note.seq);
        }
    }
    return newest;
}

std::map<std::string, std::uint64_t> cardVersions(const Inbox& inbox, const AppModel& model) {
    std::map<std::string, std::uint64_t> versions;
    for (const auto& card :
         OrvelKit::Presentation::persistentCards(inbox, model.calendar().localeId())) {
        versions[card.id] = card.cardSeq;
    }
    return versions;
}

// Prints every update and card change that arrives in the inbox.
class ArrivalPrinter {
public:
    ArrivalPrinter(AppModel& model, std::ostream& out, Style style)
        : model_(model), out_(out), style_(style), seen_(newestStored(model.inbox())),
          cards_(cardVersions(model.inbox(), model)) {}

    void inboxChanged() {
        const auto& inbox = model_.inbox();
        std::vector<const OrvelProtocol::Notification*> arrived;
        for (const auto& channel : inbox.channels()) {
            const auto seen = seen_.find(channel.channel());
            const std::uint64_t after = seen == seen_.end() ? 0 : seen->second;
            for (const auto& note : channel.notifications()) {
                if (note.seq > after) {
                    arrived.push_back(&note);
                }
            }
        }
        // In the order they were sent.
        std::stable_sort(arrived.begin(), arrived.end(),
                         [](const auto* a, const auto* b) { return a->seq < b->seq; });
        for (const auto* note : arrived) {
            out_ << TextReports::updateLine(*note, model_.now(), model_.calendar(), style_) << '\n';
        }
        seen_ = newestStored(inbox);

        std::map<std::string, std::string> channelNames;
        for (const auto& card :
             OrvelKit::Presentation::persistentCards(inbox, model_.calendar().localeId())) {
            auto& version = cards_[card.id];
            if (card.cardSeq <= version) {
                continue;
            }
            version = card.cardSeq;
            if (channelNames.empty()) {
                for (auto& channel :
                     OrvelKit::Presentation::channels(model_.config(), inbox, model_.now())) {
                    channelNames.emplace(channel.channel, std::move(channel.name));
                }
            }
            const auto name = channelNames.find(card.channel);
            out_ << TextReports::cardLine(card,
                                          name != channelNames.end() ? name->second : card.channel,
                                          model_.now(), model_.calendar(), style_)
                 << '\n';
        }
        out_.flush();
    }

private:
    AppModel& model_;
    std::ostream& out_;
    Style style_;
    std::map<std::string, std::uint64_t> seen_;
    std::map<std::string, std::uint64_t> cards_;
};

} // namespace

int watch(const Invocation& invocation, const CliEnvironment& environment) {
    auto& out = environment.out;
    auto& err = environment.err;
    const Style style(environment.color);
    auto backend = std::make_shared<PrintingNotifierBackend>();
    auto session = CliSession::open(
        environment, {invocation.dataDirectory, invocation.server,
                      invocation.all ? nullptr : std::shared_ptr<NotifierBackend>(backend), true});
    if (!session) {
        err << "orvelctl: " << terminalSafe(session.error().message)
            << (session.error().busy ? "; stop it to watch from here" : "") << '\n';
        return exitFailure;
    }
    auto& model = (*session)->model();

    backend->onAdd([&](const NotificationRequest& request) {
        if (const auto note = model.note(request.identifier)) {
            out << TextReports::updateLine(*note, model.now(), model.calendar(), style) << '\n';
        } else {
            out << terminalSafe(request.subtitle) << "  " << terminalSafe(request.title) << '\n';
        }
        out.flush();
    });
    std::optional<ArrivalPrinter> arrivals;
    if (invocation.all) {
        arrivals.emplace(model, out, style);
    }
    // Failures are told once each, as they start; the loop keeps trying.
    std::optional<std::string> toldError;
    const auto subscription = model.observe([&](ModelField field) {
        if (field == ModelField::inbox && arrivals) {
            arrivals->inboxChanged();
        }
        if (field == ModelField::lastError && model.lastError() != toldError) {
            toldError = model.lastError();
            if (toldError) {
                err << "orvelctl: " << terminalSafe(*toldError) << '\n';
            }
        }
    });

    err << "Watching " << terminalSafe(model.config().serverURL) << " (every "
        << static_cast<int>(AppModel::pollInterval) << " seconds"
        << (invocation.all ? ", every update" : "") << "). Stop with Ctrl-C.\n";
    model.start();
    environment.loop.run();

    backend->onAdd(nullptr);
    const auto problems = (*session)->finish();
    for (const auto& line : problems.lines) {
        err << "orvelctl: " << terminalSafe(line) << '\n';
    }
    return problems.failed ? exitFailure : exitSuccess;
}

} // namespace Orvel::Cli
