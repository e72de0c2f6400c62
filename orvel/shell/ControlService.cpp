#include "orvel/shell/ControlService.h"

#include "orvel/cli/CliEnvironment.h"
#include "orvel/cli/ControlBus.h"
#include "orvelkit/async/Spawn.h"

#include <QDBusMessage>
#include <QThread>
#include <memory>
#include <optional>
#include <sstream>

namespace Orvel {

namespace {

Cli::Invocation invocationOf(Cli::Command command, bool json = false) {
    Cli::Invocation invocation;
    invocation.command = command;
    invocation.json = json;
    return invocation;
}

// The commands read the inbox: one read in the background is waited for.
OrvelKit::Task<int> runOnLoadedInbox(Cli::Invocation invocation, Cli::CommandTarget target,
                                     Cli::CommandOutput output) {
    const bool loaded = co_await target.model.inboxLoaded();
    if (!loaded) {
        co_return Cli::exitFailure;
    }
    co_return co_await Cli::runCommand(std::move(invocation), std::move(target), output);
}

} // namespace

ControlService::ControlService(ControlServiceTarget target, QObject* parent)
    : QObject(parent), target_(std::move(target)) {}

bool ControlService::publish(OrvelKit::DataDirectoryLock& lock) {
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerObject(QString::fromLatin1(ControlBus::objectPath), this,
                                                  QDBusConnection::ExportScriptableSlots)) {
        return false;
    }
    lock.advertise(bus.baseService().toStdString());
    return true;
}

bool ControlService::askToShowPanel(const std::filesystem::path& directory, QString& reason) {
    // The holder records its bus name moments after it takes the lock.
    std::optional<OrvelKit::DataDirectoryLock::Holder> holder;
    for (int attempt = 0; attempt < 100; ++attempt) {
        holder = OrvelKit::DataDirectoryLock::holder(directory);
        if (holder && holder->announced) {
            break;
        }
        QThread::msleep(20);
    }
    if (!holder || holder->busName.empty()) {
        reason = QStringLiteral("it takes no requests");
        return false;
    }
    auto bus = QDBusConnection::sessionBus();
    const auto call = QDBusMessage::createMethodCall(
        QString::fromStdString(holder->busName), QString::fromLatin1(ControlBus::objectPath),
        QString::fromLatin1(ControlBus::interfaceName), QStringLiteral("ShowPanel"));
    const auto answer = bus.call(call, QDBus::Block, 10'000);
    if (answer.type() != QDBusMessage::ReplyMessage) {
        reason =
            answer.errorMessage().isEmpty() ? bus.lastError().message() : answer.errorMessage();
        return false;
    }
    return true;
}

int ControlService::carryOut(Cli::Invocation invocation, bool color) {
    setDelayedReply(true);
    struct Call {
        QDBusConnection connection;
        QDBusMessage message;
        std::ostringstream out;
        std::ostringstream err;
    };
    auto call = std::make_shared<Call>(Call{connection(), message(), {}, {}});
    auto* model = &target_.model;
    OrvelKit::spawn(
        target_.executor,
        runOnLoadedInbox(std::move(invocation),
                         Cli::CommandTarget{target_.model, target_.clock, target_.settle},
                         Cli::CommandOutput{call->out, call->err, color}),
        [call, model](int status) {
            // As orvelctl does before it exits: the inbox is on disk.
            model->flushSaves();
            call->connection.send(
                call->message.createReply({status, QString::fromStdString(call->out.str()),
                                           QString::fromStdString(call->err.str())}));
        });
    return 0;
}

int ControlService::Status(bool json, bool color, QString&, QString&) {
    return carryOut(invocationOf(Cli::Command::status, json), color);
}

int ControlService::Sync(bool json, bool color, QString&, QString&) {
    return carryOut(invocationOf(Cli::Command::sync, json), color);
}

int ControlService::Dismiss(const QString& id, bool color, QString&, QString&) {
    auto invocation = invocationOf(Cli::Command::dismiss);
    invocation.updateId = id.toStdString();
    return carryOut(std::move(invocation), color);
}

int ControlService::ReadAll(bool color, QString&, QString&) {
    return carryOut(invocationOf(Cli::Command::readAll), color);
}

int ControlService::CreateChannel(bool json, bool color, QString&, QString&) {
    return carryOut(invocationOf(Cli::Command::channelCreate, json), color);
}

int ControlService::RenameChannel(const QString& channel, const QString& name, bool color, QString&,
                                  QString&) {
    auto invocation = invocationOf(Cli::Command::channelRename);
    invocation.channel = channel.toStdString();
    invocation.name = name.toStdString();
    return carryOut(std::move(invocation), color);
}

int ControlService::RotateChannelKey(const QString& channel, uchar graceHours, bool json,
                                     bool color, QString&, QString&) {
    auto invocation = invocationOf(Cli::Command::channelRotate, json);
    invocation.channel = channel.toStdString();
    invocation.graceHours = graceHours;
    return carryOut(std::move(invocation), color);
}

int ControlService::RetireChannel(const QString& channel, bool color, QString&, QString&) {
    auto invocation = invocationOf(Cli::Command::channelRetire);
    invocation.channel = channel.toStdString();
    return carryOut(std::move(invocation), color);
}

int ControlService::Pair(bool json, bool color, QString&, QString&) {
    return carryOut(invocationOf(Cli::Command::pair, json), color);
}

void ControlService::ShowPanel() {
    if (target_.showPanel) {
        target_.showPanel();
    }
}

} // namespace Orvel
