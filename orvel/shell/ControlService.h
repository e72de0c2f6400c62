#pragma once

// The desktop app's control interface on the session bus (ControlBus.h):
// while the app holds the data directory, orvelctl hands it the commands
// that change the files, and the app carries them out on its own model with
// orvelctl's own command code, answering with exactly what orvelctl would
// have printed. A second start of the app asks it here to show its panel.
//
// Each call answers once its command has finished and the inbox is on disk;
// calls may overlap like user actions do.

// moc in Qt 6.4 cannot parse C++20 concepts; it needs none of these.
#ifndef Q_MOC_RUN
#include "orvel/cli/CommandLine.h"
#include "orvel/cli/ModelCommands.h"
#include "orvel/core/AppModel.h"
#include "orvelkit/async/Executor.h"
#include "orvelkit/store/DataDirectoryLock.h"
#endif

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>

namespace Orvel {

struct ControlServiceTarget {
    AppModel& model;
    OrvelKit::Executor& executor;
    const Clock& clock;
    // Waits for the model's requests in the background (Cli::CommandTarget).
    std::function<OrvelKit::Task<bool>()> settle;
    std::function<void()> showPanel;
};

class ControlService final : public QObject, protected QDBusContext {
    Q_OBJECT
    // The name of ControlBus::interfaceName.
    Q_CLASSINFO("D-Bus Interface", "org.orvel.Orvel.Control")
public:
    explicit ControlService(ControlServiceTarget target, QObject* parent = nullptr);

    // Exports the interface on the session bus and records the app's bus
    // name in the lock file, where orvelctl and a second start of the app
    // look for it; false when there is no session bus.
    bool publish(OrvelKit::DataDirectoryLock& lock);

    // A second start: asks the holder of `directory` to show its panel;
    // false (with the reason in `reason`) when it can't be reached.
    static bool askToShowPanel(const std::filesystem::path& directory, QString& reason);

public slots:
    Q_SCRIPTABLE int Status(bool json, bool color, QString& out, QString& err);
    Q_SCRIPTABLE int Sync(bool json, bool color, QString& out, QString& err);
    Q_SCRIPTABLE int Dismiss(const QString& id, bool color, QString& out, QString& err);
    Q_SCRIPTABLE int ReadAll(bool color, QString& out, QString& err);
    Q_SCRIPTABLE int CreateChannel(bool json, bool color, QString& out, QString& err);
    Q_SCRIPTABLE int RenameChannel(const QString& channel, const QString& name, bool color,
                                   QString& out, QString& err);
    Q_SCRIPTABLE int RotateChannelKey(const QString& channel, uchar graceHours, bool json,
                                      bool color, QString& out, QString& err);
    Q_SCRIPTABLE int RetireChannel(const QString& channel, bool color, QString& out, QString& err);
    Q_SCRIPTABLE int Pair(bool json, bool color, QString& out, QString& err);
    Q_SCRIPTABLE void ShowPanel();

private:
    // Starts the command and answers the call when it has finished.
    int carryOut(Cli::Invocation invocation, bool color);

    ControlServiceTarget target_;
};

} // namespace Orvel
