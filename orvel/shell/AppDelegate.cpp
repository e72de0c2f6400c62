#include "orvel/shell/AppDelegate.h"

#include "orvel/core/FilePreferences.h"
#include "orvel/core/MemoryPreferences.h"
#include "orvel/core/XdgLaunchAtLogin.h"
#include "orvel/shell/DesktopIdleTimeSource.h"
#include "orvel/shell/FreedesktopNotifierBackend.h"
#include "orvel/shell/ShellEnvironment.h"
#include "orvelkit/config/FileConfigStore.h"
#include "orvelkit/config/MemoryConfigStore.h"
#include "orvelkit/http/CurlTransport.h"
#include "orvelkit/store/AppSupportDirectory.h"
#include "orvelkit/store/FileInboxStore.h"
#include "orvelkit/store/MemoryInboxStore.h"

#include <QDesktopServices>
#include <QUrl>

namespace Orvel {

namespace {

struct Stores {
    std::shared_ptr<OrvelKit::ConfigStore> config;
    std::shared_ptr<OrvelKit::InboxStore> inbox;
    std::shared_ptr<Preferences> preferences;
};

// The files in the app's data directory; in memory when there is none.
Stores openStores(const std::optional<OrvelKit::AppSupportDirectory>& support) {
    if (!support) {
        return {std::make_shared<OrvelKit::MemoryConfigStore>(),
                std::make_shared<OrvelKit::MemoryInboxStore>(),
                std::make_shared<MemoryPreferences>()};
    }
    return {std::make_shared<OrvelKit::FileConfigStore>(support->configFile()),
            std::make_shared<OrvelKit::FileInboxStore>(support->inboxFile()),
            std::make_shared<FilePreferences>(support->preferencesFile())};
}

} // namespace

AppDelegate::AppDelegate(QtExecutor& executor,
                         std::optional<OrvelKit::AppSupportDirectory> directory)
    : executor_(executor), transport_(std::make_shared<OrvelKit::CurlTransport>()),
      modelTransport_(std::make_shared<Cli::InFlightTransport>(transport_)) {
    auto stores = openStores(directory);
    preferences_ = stores.preferences;
    model_ = std::make_unique<AppModel>(
        AppModelServices{stores.config, stores.inbox, stores.preferences, modelTransport_,
                         std::make_shared<FreedesktopNotifierBackend>(),
                         std::make_shared<XdgLaunchAtLogin>(XdgLaunchAtLogin::forCurrentProcess()),
                         OrvelKit::Calendar::current()},
        executor_, clock_);
    updateFramework_ = std::make_shared<FeedUpdateFramework>(ORVEL_UPDATE_FEED_URL, ORVEL_VERSION,
                                                             transport_, executor_);
    updater_ = std::make_unique<UpdaterController>(
        updateFramework_, std::make_shared<DesktopIdleTimeSource>(), executor_);
}

AppDelegate::~AppDelegate() {
    // The views go before the model they read.
    menuBarController_.reset();
    bridge_.reset();
}

OrvelKit::Task<bool> AppDelegate::settle() {
    // As long as orvelctl would wait for them itself.
    return modelTransport_->idle(executor_, std::chrono::seconds(10));
}

void AppDelegate::showPanel() {
    if (menuBarController_) {
        menuBarController_->showPanel();
    }
}

void AppDelegate::flushSaves() {
    model_->flushSaves();
}

void AppDelegate::applicationDidFinishLaunching() {
    expandedActivityController_ =
        std::make_unique<ExpandedActivityWindowController>(*model_, *updater_);
    theme_ = std::make_unique<Theme>();
    bridge_ = std::make_unique<ModelBridge>(*model_, executor_, updater_.get());
    const bool reduceMotion = ShellEnvironment::reduceMotionRequested();
    menuBarController_ = std::make_unique<MenuBarController>(MenuBarControllerServices{
        *model_, *updater_, *expandedActivityController_, *bridge_, *theme_, *preferences_,
        executor_, [reduceMotion] { return reduceMotion; }});
    updateFramework_->onUpdateFound = [this](const UpdateFeedEntry& entry) {
        auto& tray = menuBarController_->trayIcon();
        tray.showMessage(
            QStringLiteral("Orvel %1 is available").arg(QString::fromStdString(entry.version)),
            QStringLiteral("Click to open the release page."));
        QObject::connect(
            &tray, &QSystemTrayIcon::messageClicked, &tray,
            [url = QString::fromStdString(entry.url)] {
                if (mayOpenLink(url)) {
                    QDesktopServices::openUrl(QUrl(url));
                }
            },
            Qt::SingleShotConnection);
    };
    menuBarController_->show();
    model_->start();
}

} // namespace Orvel
