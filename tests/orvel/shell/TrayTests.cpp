// The tray item on a real session bus: it registers with the desktop's
// StatusNotifierWatcher, and a click relayed by the tray host toggles the
// panel.

#include "tests/orvel/shell/ControllerStack.h"
#include "tests/orvel/shell/TrayTestEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QMutex>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTest>
#include <QThread>

namespace {

using namespace OrvelTest;

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

struct TrayFixture : ControllerStack {
    QDBusConnection watcherBus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, "orvel-test-watcher");
    // The host answers from a thread of its own: the tray's first question
    // to it is a blocking call from the GUI thread.
    QThread hostThread;
    FakeStatusNotifierWatcher watcher;

    TrayFixture() {
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

    // The host relays a left click as Activate. The item answers on the GUI
    // thread: wait for its reply with the event loop running.
    bool click() {
        auto activate =
            QDBusMessage::createMethodCall(watcher.items().value(0), "/StatusNotifierItem",
                                           "org.kde.StatusNotifierItem", "Activate");
        activate << 10 << 10;
        QDBusPendingCall pending = watcherBus.asyncCall(activate, 5000);
        return QTest::qWaitFor([&] { return pending.isFinished(); }, 6000) && !pending.isError();
    }
};

TEST(Tray, RegistersWithTheHostAndAClickTogglesThePanel) {
    if (!trayEnvironmentReady) {
        GTEST_SKIP() << "needs Xvfb and dbus-daemon";
    }
    TrayFixture f;
    ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
    auto& tray = f.make();
    tray.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.watcher.items().isEmpty(); }, 5000))
        << "the item never registered";

    ASSERT_TRUE(f.click());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.panel().isVisible(); }, 5000));
    EXPECT_TRUE(f.updater->visibleInterfaces().contains("popover"));
    ASSERT_TRUE(f.click());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tray.panel().isVisible(); }, 5000));
}

} // namespace

#include "TrayTests.moc"
