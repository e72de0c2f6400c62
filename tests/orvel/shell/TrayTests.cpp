// The tray item on a real session bus: it registers with the desktop's
// StatusNotifierWatcher, publishes its tooltip there, and a click relayed by
// the tray host opens the panel.

#include "orvel/shell/MenuBarController.h"
#include "tests/orvel/core/ModelHarness.h"
#include "tests/orvel/shell/QtPrinters.h"
#include "tests/orvel/shell/TrayTestEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QMutex>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTest>
#include <QThread>

namespace {

using namespace OrvelTest;
using OrvelProtocol::SyncResponse;

// What a tray host puts on the bus, reduced to what a tray item talks to.
class FakeStatusNotifierWatcher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const {
        QMutexLocker lock(&mutex_);
        return items_;
    }

public slots:
    void RegisterStatusNotifierItem(const QString& service) {
        QMutexLocker lock(&mutex_);
        items_.push_back(service);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    mutable QMutex mutex_;
    QStringList items_;
};

struct TrayFixture : ModelHarness {
    QDBusConnection watcherBus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, "orvel-test-watcher");
    // The host answers from a thread of its own: the tray's first question
    // to it is a blocking call from the GUI thread.
    QThread hostThread;
    FakeStatusNotifierWatcher watcher;
    std::unique_ptr<Orvel::UpdaterController> updater;
    std::unique_ptr<Orvel::ExpandedActivityWindowController> expanded;
    std::unique_ptr<Orvel::Theme> theme;
    std::unique_ptr<Orvel::ModelBridge> bridge;
    std::unique_ptr<Orvel::MenuBarController> controller;

    TrayFixture() {
        paired();
        watcher.moveToThread(&hostThread);
        hostThread.start();
        watcherBus.registerService("org.kde.StatusNotifierWatcher");
        QMetaObject::invokeMethod(
            &watcher,
            [this] {
                watcherBus.registerObject("/StatusNotifierWatcher", &watcher,
                                          QDBusConnection::ExportAllContents);
            },
            Qt::BlockingQueuedConnection);
    }

    ~TrayFixture() {
        controller.reset();
        bridge.reset();
        QMetaObject::invokeMethod(
            &watcher,
            [this] {
                watcherBus.unregisterObject("/StatusNotifierWatcher");
                watcher.moveToThread(QCoreApplication::instance()->thread());
            },
            Qt::BlockingQueuedConnection);
        watcherBus.unregisterService("org.kde.StatusNotifierWatcher");
        hostThread.quit();
        hostThread.wait();
    }

    Orvel::MenuBarController& make() {
        build();
        updater = std::make_unique<Orvel::UpdaterController>(nullptr, nullptr, executor);
        expanded = std::make_unique<Orvel::ExpandedActivityWindowController>(*model, *updater);
        theme = std::make_unique<Orvel::Theme>();
        bridge = std::make_unique<Orvel::ModelBridge>(*model, executor, updater.get());
        controller = std::make_unique<Orvel::MenuBarController>(Orvel::MenuBarControllerServices{
            *model, *updater, *expanded, *bridge, *theme, *preferences, executor, {}});
        return *controller;
    }

    // The item answers on the GUI thread: wait for its reply with the event
    // loop running.
    QDBusMessage call(const QDBusMessage& message) {
        QDBusPendingCall pending = watcherBus.asyncCall(message, 5000);
        if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 6000)) {
            return {};
        }
        return pending.reply();
    }

    QDBusMessage itemCall(const QString& method) {
        return QDBusMessage::createMethodCall(watcher.items().value(0), "/StatusNotifierItem",
                                              "org.kde.StatusNotifierItem", method);
    }

    // The title of the item's ToolTip property: (icon name, pixmaps, title, text).
    QString toolTipTitle() {
        auto get = QDBusMessage::createMethodCall(watcher.items().value(0), "/StatusNotifierItem",
                                                  "org.freedesktop.DBus.Properties", "Get");
        get << QString("org.kde.StatusNotifierItem") << QString("ToolTip");
        const auto reply = call(get);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            return {};
        }
        const auto argument =
            reply.arguments().front().value<QDBusVariant>().variant().value<QDBusArgument>();
        QString iconName;
        QString title;
        QString text;
        argument.beginStructure();
        argument >> iconName;
        argument.beginArray();
        while (!argument.atEnd()) {
            argument.beginStructure();
            int width = 0;
            int height = 0;
            QByteArray bytes;
            argument >> width >> height >> bytes;
            argument.endStructure();
        }
        argument.endArray();
        argument >> title >> text;
        argument.endStructure();
        return title.isEmpty() ? text : title;
    }
};

TEST(Tray, RegistersWithTheHostAndAClickOpensThePanel) {
    if (!trayEnvironmentReady) {
        GTEST_SKIP() << "needs Xvfb and dbus-daemon";
    }
    TrayFixture f;
    ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
    auto& tray = f.make();
    tray.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.watcher.items().isEmpty(); }, 5000));

    // The host relays a left click as Activate.
    auto activate = f.itemCall("Activate");
    activate << 10 << 10;
    f.call(activate);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.panel().isVisible(); }, 5000));
    EXPECT_TRUE(f.updater->visibleInterfaces().contains("popover"));

    // A second click closes it.
    f.call(activate);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tray.panel().isVisible(); }, 5000));
}

TEST(Tray, TheHostSeesTheAccessibilityTextAsTooltip) {
    if (!trayEnvironmentReady) {
        GTEST_SKIP() << "needs Xvfb and dbus-daemon";
    }
    TrayFixture f;
    auto& tray = f.make();
    tray.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.watcher.items().isEmpty(); }, 5000));
    EXPECT_EQ(f.toolTipTitle(), "Orvel, nothing needs attention");

    auto note = update("a", 1, "need");
    note.urgency = OrvelProtocol::Urgency::critical;
    f.service->answer("sync", SyncResponse{{channelRecord("a", {note})}});
    f.run(f.model->refresh());
    f.executor.runUntilIdle();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return f.toolTipTitle() == "Orvel, 1 items need attention, including critical"; },
        3000))
        << f.toolTipTitle().toStdString();
}

} // namespace

#include "TrayTests.moc"
