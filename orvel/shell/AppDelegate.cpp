#include "orvel/shell/AppDelegate.h"

#include "orvel/core/XdgLaunchAtLogin.h"
#include "orvel/shell/DesktopIdleTimeSource.h"
#include "orvel/shell/SafeMarkdown.h"
#include "orvel/shell/ShellEnvironment.h"
#include "orvelkit/http/CurlTransport.h"
#include "orvelkit/store/AppSupportDirectory.h"

#include <QDesktopServices>
#include <QUrl>

namespace Orvel {

AppDelegate::AppDelegate(QtExecutor& executor,
                         std::optional<OrvelKit::AppSupportDirectory> directory)
    : executor_(executor), transport_(std::make_shared<OrvelKit::CurlTransport>()),
      stores_(AppStores::open(directory, executor)),
      modelTransport_(std::make_shared<Cli::InFlightTransport>(transport_)) {
    preferences_ = stores_.preferences;
    notifierBackend_ = std::make_shared<FreedesktopNotifierBackend>();
    AppModelServices services{
        stores_.config,
        stores_.inbox,
        stores_.preferences,
        modelTransport_,
        notifierBackend_,
        std::make_shared<XdgLaunchAtLogin>(XdgLaunchAtLogin::forCurrentProcess()),
        OrvelKit::Calendar::host(),
        [] { return OrvelKit::Calendar::host(); }};
    // A long history takes a while to read: the tray icon and the panel come
    // first, and the inbox follows.
    services.loadInboxInBackground = true;
    model_ = std::make_unique<AppModel>(std::move(services), executor_, clock_);
    // What the stores report, since they were opened, shows in the banner.
    stores_.attach(*model_);
    updateFramework_ = std::make_shared<FeedUpdateFramework>(ORVEL_UPDATE_FEED_URL, ORVEL_VERSION,
                                                             transport_, executor_);
    updater_ = std::make_unique<UpdaterController>(
        updateFramework_, std::make_shared<DesktopIdleTimeSource>(), executor_, preferences_);
}

AppDelegate::~AppDelegate() {
    notifierBackend_->onOpenPanel = nullptr;
    // The views go before the model they read.
    menuBarController_.reset();
    expandedActivityController_.reset();
    bridge_.reset();
    stores_.detach();
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
    theme_ = std::make_unique<Theme>(nullptr);
    expandedActivityController_ = std::make_unique<ExpandedActivityWindowController>(
        *model_, *updater_, executor_, *theme_, *preferences_);
    bridge_ = std::make_unique<ModelBridge>(*model_, executor_, updater_.get());
    reduceMotion_ = std::make_unique<ReduceMotionSetting>();
    theme_->setReduceMotion(reduceMotion_->value());
    QObject::connect(reduceMotion_.get(), &ReduceMotionSetting::changed, theme_.get(),
                     &Theme::setReduceMotion);
    menuBarController_ = std::make_unique<MenuBarController>(MenuBarControllerServices{
        *model_, *updater_, *expandedActivityController_, *bridge_, *theme_, *preferences_,
        executor_, [this] { return reduceMotion_->value(); },
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString()});
    // The end of a check lets another one start: whoever shows "Check for
    // updates" hears of it through the updater.
    const auto checkEnded = [this] {
        if (updater_->onChange) {
            updater_->onChange();
        }
    };
    updateFramework_->onNoUpdate = [checkEnded](const std::optional<std::string>&) {
        checkEnded();
    };
    updateFramework_->onUpdateFound = [this, checkEnded](const UpdateFeedEntry& entry) {
        checkEnded();
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
    // Clicking a sync's summary opens the inbox.
    notifierBackend_->onOpenPanel = [this] { menuBarController_->showPanel(); };
    menuBarController_->show();
    model_->start();
    // The tray item first; the panel's views are built one turn later, or
    // at once if the panel is asked for before.
    executor_.post([this] { menuBarController_->preparePanel(); });
}

} // namespace Orvel
