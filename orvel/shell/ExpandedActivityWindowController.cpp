#include "orvel/shell/ExpandedActivityWindowController.h"

#include "orvel/core/AppIdentity.h"
#include "orvel/shell/ExpandedActivityModel.h"
#include "orvel/shell/SymbolImageProvider.h"
#include "orvel/shell/Theme.h"

#include <QGuiApplication>
#include <QIcon>
#include <QQmlEngine>
#include <QQuickView>
#include <QScreen>
#include <QTimer>
#include <cmath>
#include <string>

namespace Orvel {

namespace {

// A moved or resized window counts as placed after this long without more.
constexpr int frameSettleMilliseconds = 400;

std::string frameKeyOf(std::string_view part) {
    return std::string(ExpandedActivityWindowController::frameKey) + "." + std::string(part);
}

} // namespace

ExpandedActivityWindowController::ExpandedActivityWindowController(AppModel& model,
                                                                   UpdaterController& updater,
                                                                   OrvelKit::Executor& executor,
                                                                   Theme& theme,
                                                                   Preferences& preferences)
    : model_(model), updater_(updater), theme_(theme), preferences_(preferences),
      viewModel_(std::make_unique<ExpandedActivityModel>(model, executor)) {}

ExpandedActivityWindowController::~ExpandedActivityWindowController() {
    close();
    if (window_) {
        // The view goes before the view model it shows.
        window_->setSource({});
    }
}

std::optional<QRect> ExpandedActivityWindowController::savedFrame(const Preferences& preferences) {
    const auto x = preferences.doubleValue(frameKeyOf("x"));
    const auto y = preferences.doubleValue(frameKeyOf("y"));
    const auto width = preferences.doubleValue(frameKeyOf("width"));
    const auto height = preferences.doubleValue(frameKeyOf("height"));
    if (!x || !y || !width || !height) {
        return std::nullopt;
    }
    constexpr double limit = 1e6;
    for (const double value : {*x, *y, *width, *height}) {
        if (!std::isfinite(value) || std::abs(value) > limit) {
            return std::nullopt;
        }
    }
    if (*width < minimumWidth || *height < minimumHeight) {
        return std::nullopt;
    }
    return QRect(static_cast<int>(*x), static_cast<int>(*y), static_cast<int>(*width),
                 static_cast<int>(*height));
}

void ExpandedActivityWindowController::saveFrame(Preferences& preferences, QRect frame) {
    preferences.set(frameKeyOf("x"), static_cast<double>(frame.x()));
    preferences.set(frameKeyOf("y"), static_cast<double>(frame.y()));
    preferences.set(frameKeyOf("width"), static_cast<double>(frame.width()));
    preferences.set(frameKeyOf("height"), static_cast<double>(frame.height()));
}

void ExpandedActivityWindowController::makeWindow() {
    window_ = std::make_unique<QQuickView>();
    auto& window = *window_;
    window.setFlags(Qt::Window);
    window.setTitle(QStringLiteral("Orvel Activity"));
    window.setIcon(QIcon::fromTheme(QString::fromLatin1(AppIdentity::id)));
    window.setResizeMode(QQuickView::SizeRootObjectToView);
    window.setMinimumSize(QSize(minimumWidth, minimumHeight));
    window.engine()->addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
    window.engine()->addImportPath(QStringLiteral("qrc:/qt/qml"));
    Theme::provideTo(*window.engine(), theme_);
    window.setInitialProperties(
        {{QStringLiteral("activity"), QVariant::fromValue(viewModel_.get())}});
    window.setSource(QUrl(QStringLiteral("qrc:/qt/qml/Orvel/qml/ExpandedActivityView.qml")));

    // Where the user left it, when that is still on a screen; else centred.
    const auto saved = savedFrame(preferences_);
    if (saved && QGuiApplication::screenAt(saved->center()) != nullptr) {
        window.setGeometry(*saved);
    } else {
        window.resize(defaultWidth, defaultHeight);
        if (auto* screen = QGuiApplication::primaryScreen()) {
            auto frame = QRect(QPoint(), window.size());
            frame.moveCenter(screen->availableGeometry().center());
            window.setPosition(frame.topLeft());
        }
    }

    frameSettled_ = std::make_unique<QTimer>();
    frameSettled_->setSingleShot(true);
    frameSettled_->setInterval(frameSettleMilliseconds);
    QObject::connect(frameSettled_.get(), &QTimer::timeout, &window, [this] {
        if (window_->isVisible()) {
            saveFrame(preferences_, window_->geometry());
        }
    });
    const auto placed = [this] {
        if (window_->isVisible()) {
            frameSettled_->start();
        }
    };
    QObject::connect(&window, &QWindow::xChanged, &window, placed);
    QObject::connect(&window, &QWindow::yChanged, &window, placed);
    QObject::connect(&window, &QWindow::widthChanged, &window, placed);
    QObject::connect(&window, &QWindow::heightChanged, &window, placed);
    // The close button hides the window; the controller keeps it.
    QObject::connect(&window, &QWindow::visibleChanged, &window, [this](bool visible) {
        if (!visible) {
            closed();
        }
    });
}

void ExpandedActivityWindowController::open() {
    ++openCount_;
    if (!window_) {
        makeWindow();
    }
    if (!open_) {
        model_.beginBriefingSession();
    }
    viewModel_->setActive(true);
    window_->show();
    window_->raise();
    window_->requestActivate();
    if (!open_) {
        open_ = true;
        updater_.setInterfaceVisible(UpdaterController::activityInterface, true);
    }
}

void ExpandedActivityWindowController::close() {
    if (window_ && window_->isVisible()) {
        window_->close();
    }
    closed();
}

void ExpandedActivityWindowController::closed() {
    if (!open_) {
        return;
    }
    open_ = false;
    if (window_) {
        saveFrame(preferences_, window_->geometry());
    }
    viewModel_->closeSheet();
    viewModel_->setActive(false);
    updater_.setInterfaceVisible(UpdaterController::activityInterface, false);
}

} // namespace Orvel
