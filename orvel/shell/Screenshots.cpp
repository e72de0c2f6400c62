// Renders the panel with the development sample in the light and the dark
// appearance, on the inbox, the updates (flat and grouped), an update's detail
// and a card, the updates of a generated 100,000-update inbox, and the tray
// icon's states, and the expanded activity window on each destination and
// sheet (the sample, and the generated inbox's days), to PNG files in the
// directory given as the only argument.

#include "orvel/core/AppModel.h"
#include "orvel/core/MemoryPreferences.h"
#include "orvel/core/UpdaterController.h"
#include "orvel/shell/ExpandedActivityModel.h"
#include "orvel/shell/ExpandedActivityWindowController.h"
#include "orvel/shell/InboxPanel.h"
#include "orvel/shell/MenuBarIcon.h"
#include "orvel/shell/ModelBridge.h"
#include "orvel/shell/QtExecutor.h"
#include "orvel/shell/ShellEnvironment.h"
#include "orvel/shell/Theme.h"
#include "orvelkit/config/MemoryConfigStore.h"
#include "orvelkit/store/MemoryInboxStore.h"
#include "orvelkit/time/InternetDateTime.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPainter>
#include <QQuickView>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

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

// `wait`: how long the panel gets to settle; a long history's triage runs
// on a pool thread and takes a while in a debug build.
bool grab(QQuickWindow& panel, const QString& file, int wait = 300) {
    settle(wait);
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

// `total` updates over 20 channels, a few senders each, one a minute back
// from `now`, with every status and most of them read.
OrvelKit::Inbox generatedInbox(std::size_t total, OrvelKit::Date now) {
    constexpr std::size_t channels = 20;
    const std::array<const char*, 6> statuses{"done", "running", "need", "info", "failed", "idle"};
    const std::array<const char*, 5> subjects{"Nightly build", "Dependency bump", "Test suite",
                                              "Deploy to staging", "Report"};
    OrvelKit::Inbox inbox;
    for (std::size_t c = 0; c < channels; ++c) {
        const std::string channel = "agent-" + std::to_string(c + 1);
        std::vector<OrvelProtocol::Notification> notes;
        const std::size_t count = total / channels;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t n = i * channels + c;
            OrvelProtocol::Notification note;
            note.id = channel + "-" + std::to_string(i + 1);
            note.channel = channel;
            note.seq = i + 1;
            note.sender = "Agent " + std::to_string(c + 1) + " · worker " + std::to_string(n % 3);
            note.status = statuses[(n * 7) % statuses.size()];
            note.title = std::string(subjects[n % subjects.size()]) + " #" + std::to_string(n);
            note.createdAt = OrvelKit::formatInternetDateTime(
                now.addingSeconds(-60.0 * static_cast<double>(total - n)));
            notes.push_back(std::move(note));
        }
        inbox.merge(channel, notes, count);
    }
    return inbox;
}

// The panel over `model` in both appearances: the updates flat and grouped,
// and, for the sample, the inbox, a detail and a card.
bool shootPanel(Orvel::AppModel& model, Orvel::QtExecutor& executor, Orvel::Theme& theme,
                Orvel::Preferences& preferences, const QDir& out, const QString& prefix,
                bool sample) {
    Orvel::ModelBridge bridge(model, executor, nullptr);
    Orvel::InboxPanel panel(bridge, theme, preferences);
    panel.show();
    bool ok = true;
    for (const auto appearance : {Orvel::Appearance::light, Orvel::Appearance::dark}) {
        theme.setAppearance(appearance);
        const QString suffix = appearance == Orvel::Appearance::dark ? "dark" : "light";
        const auto file = [&](const QString& screen) {
            return out.filePath(prefix + "-" + screen + "-" + suffix + ".png");
        };
        while (!model.path().empty()) {
            model.back();
        }
        if (sample) {
            ok = grab(panel, file("inbox")) && ok;
            // The whole inbox, below the fold too.
            const auto size = panel.size();
            panel.resize(size.width(), 1100);
            ok = grab(panel, file("inbox-full")) && ok;
            panel.resize(size);
        }
        model.setGroupActivityUpdates(false);
        model.open(Orvel::AppScreen::updates());
        const int wait = sample ? 300 : 2000;
        ok = grab(panel, file("updates"), wait) && ok;
        model.setGroupActivityUpdates(true);
        ok = grab(panel, file("updates-grouped"), wait) && ok;
        model.setGroupActivityUpdates(false);
        if (sample) {
            model.open(Orvel::AppScreen::detail("s1"));
            ok = grab(panel, file("detail")) && ok;
            model.back();
            model.open(Orvel::AppScreen::card("cron/oss-tickets-solved"));
            ok = grab(panel, file("card")) && ok;
        }
    }
    panel.hide();
    return ok;
}

// The activity window over `model` in both appearances: needs you, cards,
// the newest days (one filtered by channel and searched), and, for the
// sample, the update and card sheets.
bool shootActivityWindow(Orvel::AppModel& model, Orvel::QtExecutor& executor, Orvel::Theme& theme,
                         Orvel::Preferences& preferences, const QDir& out, const QString& prefix,
                         bool sample) {
    Orvel::UpdaterController updater(nullptr, nullptr, executor);
    Orvel::ExpandedActivityWindowController controller(model, updater, executor, theme,
                                                       preferences);
    controller.open();
    auto& window = *controller.window();
    auto& activity = controller.viewModel();
    const int wait = sample ? 300 : 1500;
    bool ok = true;
    for (const auto appearance : {Orvel::Appearance::light, Orvel::Appearance::dark}) {
        theme.setAppearance(appearance);
        const QString suffix = appearance == Orvel::Appearance::dark ? "dark" : "light";
        const auto file = [&](const QString& screen) {
            return out.filePath(prefix + "-" + screen + "-" + suffix + ".png");
        };
        activity.selectAttention();
        ok = grab(window, file("needs-you"), wait) && ok;
        activity.selectCards();
        ok = grab(window, file("cards"), wait) && ok;
        for (int day = 0; day < std::min(2, activity.days()->count()); ++day) {
            activity.selectDay(day);
            ok = grab(window, file("day" + QString::number(day)), wait) && ok;
        }
        const auto& channels = activity.channels()->entries();
        if (channels.size() > 1) {
            activity.selectDay(0);
            activity.selectChannel(channels[1].key);
            activity.setQuery(sample ? QStringLiteral("e") : QStringLiteral("report"));
            ok = grab(window, file("day0-filtered"), wait) && ok;
            activity.setQuery({});
            activity.selectChannel({});
        }
        if (sample) {
            activity.selectAttention();
            activity.openUpdate(0);
            ok = grab(window, file("update-sheet")) && ok;
            activity.closeSheet();
            activity.openCard(QStringLiteral("cron/oss-tickets-solved"));
            ok = grab(window, file("card-sheet")) && ok;
            activity.closeSheet();
        }
    }
    controller.close();
    return ok;
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
    bool ok = shootPanel(model, executor, theme, *preferences, out, "panel", true);
    ok = shootActivityWindow(model, executor, theme, *preferences, out, "activity", true) && ok;

    const auto strip = trayStrip(theme);
    const auto trayFile = out.filePath("tray-icons.png");
    ok = strip.save(trayFile) && ok;
    std::printf("%s\n", qPrintable(trayFile));

    // A long history: the list makes delegates only for what is in view.
    auto largePreferences = std::make_shared<Orvel::MemoryPreferences>();
    Orvel::AppModel large(Orvel::AppModelServices{std::make_shared<OrvelKit::MemoryConfigStore>(),
                                                  std::make_shared<OrvelKit::MemoryInboxStore>(
                                                      generatedInbox(100'000, clock.now())),
                                                  largePreferences,
                                                  std::make_shared<OfflineTransport>(),
                                                  nullptr,
                                                  nullptr,
                                                  OrvelKit::Calendar::current(),
                                                  {}},
                          executor, clock);
    ok = shootPanel(large, executor, theme, *largePreferences, out, "large", false) && ok;
    ok = shootActivityWindow(large, executor, theme, *largePreferences, out, "activity-large",
                             false) &&
         ok;
    return ok ? 0 : 1;
}
