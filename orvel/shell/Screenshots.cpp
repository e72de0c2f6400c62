// Renders the panel with the development sample in the light and the dark
// appearance, on the inbox and on a pushed screen, and the tray icon's states,
// to PNG files in the directory given as the only argument.

#include "orvel/core/AppModel.h"
#include "orvel/core/MemoryPreferences.h"
#include "orvel/shell/InboxPanel.h"
#include "orvel/shell/MenuBarIcon.h"
#include "orvel/shell/ModelBridge.h"
#include "orvel/shell/QtExecutor.h"
#include "orvel/shell/ShellEnvironment.h"
#include "orvel/shell/Theme.h"
#include "orvelkit/config/MemoryConfigStore.h"
#include "orvelkit/store/MemoryInboxStore.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPainter>
#include <QTimer>
#include <cstdio>

namespace {

// No service in screenshots: every request fails at once.
class OfflineTransport final : public OrvelKit::HTTPTransport {
public:
    OrvelKit::Task<OrvelKit::TransportResult> send(OrvelKit::HTTPRequest) override {
        co_return OrvelKit::unexpected(OrvelKit::TransportError{7, "offline"});
    }
};

void settle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool grab(Orvel::InboxPanel& panel, const QString& file) {
    settle(300);
    const auto image = panel.grabWindow();
    if (image.isNull() || !image.save(file)) {
        std::fprintf(stderr, "orvel-screenshots: could not write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

QImage trayStrip(const Orvel::Theme& theme) {
    using OrvelKit::MenuBarEmphasis;
    const std::vector<std::pair<QImage, OrvelKit::MenuBarIndicator>> states = {
        {Orvel::MenuBarIcon::resting(), {}},
        {Orvel::MenuBarIcon::resting(), {MenuBarEmphasis::high, "3"}},
        {Orvel::MenuBarIcon::resting(), {MenuBarEmphasis::critical, "99+"}},
        {Orvel::MenuBarIcon::heartbeatFrame(0), {}},
        {Orvel::MenuBarIcon::heartbeatFrame(9), {}},
        {Orvel::MenuBarIcon::heartbeatFrame(16), {}},
        {Orvel::MenuBarIcon::heartbeatFrame(27), {}},
    };
    const int cell = Orvel::MenuBarIcon::pixels + 16;
    QImage strip(cell * static_cast<int>(states.size()), cell * 2, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    // A dark tray above, a light one below.
    painter.fillRect(QRect(0, 0, strip.width(), cell), QColor(0x1E, 0x1E, 0x20));
    painter.fillRect(QRect(0, cell, strip.width(), cell), QColor(0xF2, 0xF2, 0xF4));
    for (std::size_t i = 0; i < states.size(); ++i) {
        const auto& [glyph, indicator] = states[i];
        const int x = static_cast<int>(i) * cell + 8;
        painter.drawImage(x, 8,
                          Orvel::MenuBarIcon::compose(glyph, indicator,
                                                      Orvel::MenuBarIcon::onDarkBar, theme.red()));
        painter.drawImage(x, cell + 8,
                          Orvel::MenuBarIcon::compose(glyph, indicator,
                                                      Orvel::MenuBarIcon::onLightBar, theme.red()));
    }
    return strip;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvel-screenshots <output directory>\n");
        return 2;
    }
    Orvel::ShellEnvironment::prepareHeadless();
    QApplication application(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "orvel-screenshots: cannot create %s\n", argv[1]);
        return 1;
    }

    Orvel::QtExecutor executor;
    Orvel::SystemClock clock;
    auto preferences = std::make_shared<Orvel::MemoryPreferences>();
    preferences->set("useDevelopmentData", true);
    preferences->set("expandedActivityEnabled", true);
    Orvel::AppModel model(Orvel::AppModelServices{std::make_shared<OrvelKit::MemoryConfigStore>(),
                                                  std::make_shared<OrvelKit::MemoryInboxStore>(),
                                                  preferences,
                                                  std::make_shared<OfflineTransport>(),
                                                  nullptr,
                                                  nullptr,
                                                  OrvelKit::Calendar::current(),
                                                  {}},
                          executor, clock);
    Orvel::Theme theme{nullptr};
    Orvel::ModelBridge bridge(model, executor, nullptr);
    Orvel::InboxPanel panel(bridge, theme, *preferences);
    panel.show();

    bool ok = true;
    for (const auto appearance : {Orvel::Appearance::light, Orvel::Appearance::dark}) {
        theme.setAppearance(appearance);
        const QString suffix = appearance == Orvel::Appearance::dark ? "dark" : "light";
        while (!model.path().empty()) {
            model.back();
        }
        ok = grab(panel, out.filePath("panel-inbox-" + suffix + ".png")) && ok;
        // The whole inbox, below the fold too.
        const auto size = panel.size();
        panel.resize(size.width(), 1100);
        ok = grab(panel, out.filePath("panel-inbox-full-" + suffix + ".png")) && ok;
        panel.resize(size);
        model.open(Orvel::AppScreen::updates());
        ok = grab(panel, out.filePath("panel-updates-" + suffix + ".png")) && ok;
        model.open(Orvel::AppScreen::detail("sample-1"));
        ok = grab(panel, out.filePath("panel-detail-" + suffix + ".png")) && ok;
        const auto strip = trayStrip(theme);
        const auto trayFile = out.filePath("tray-icons.png");
        if (appearance == Orvel::Appearance::light) {
            ok = strip.save(trayFile) && ok;
            std::printf("%s\n", qPrintable(trayFile));
        }
    }
    return ok ? 0 : 1;
}
