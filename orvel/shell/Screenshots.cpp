// Renders the panel with the development sample in the light and the dark
// appearance, on the inbox, the updates (flat and grouped), an update's detail,
// a card, the channels, the welcome, the new-channel and the pair screens,
// the settings with each channel dialog and a rotated key, the updates of a
// generated 100,000-update inbox, the tray icon's states, and the expanded
// activity window on each destination and sheet (the sample, and the
// generated inbox's days), to PNG files in the directory given as the only
// argument.

#include "orvel/core/AppModel.h"
#include "orvel/core/MemoryPreferences.h"
#include "orvel/core/UpdaterController.h"
#include "orvel/shell/ExpandedActivityModel.h"
#include "orvel/shell/ExpandedActivityWindowController.h"
#include "orvel/shell/InboxPanel.h"
#include "orvel/shell/MenuBarIcon.h"
#include "orvel/shell/ModelBridge.h"
#include "orvel/shell/QtExecutor.h"
#include "orvel/shell/SettingsScreenModel.h"
#include "orvel/shell/ShellEnvironment.h"
#include "orvel/shell/Theme.h"
#include "orvelkit/config/MemoryConfigStore.h"
#include "orvelkit/json/Json.h"
#include "orvelkit/store/MemoryInboxStore.h"
#include "orvelkit/time/InternetDateTime.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPainter>
#include <QQuickItem>
#include <QQuickView>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// No service in screenshots: every request fails at once, except that,
// while `answersOnboarding` is on, registering, creating a channel and
// making a pairing code succeed with made-up answers.
class OfflineTransport final : public OrvelKit::HTTPTransport {
public:
    bool answersOnboarding = false;

    OrvelKit::Task<OrvelKit::TransportResult> send(OrvelKit::HTTPRequest request) override {
        const auto endsWith = [&](std::string_view tail) { return request.url.ends_with(tail); };
        if (answersOnboarding) {
            if (endsWith("/pair/bootstrap")) {
                co_return answer(R"({"account_id":"acct-demo","device_token":"dev-demo"})");
            }
            if (endsWith("/engage")) {
                co_return answer(R"({"channel":"ch_8f2k1q","sender":"agent",)"
                                 R"("token":"orvel_pub_7Hq2xVb9LmR4tK8wZ3nD"})");
            }
            if (endsWith("/pair/code")) {
                co_return answer(R"({"code":"K7Q-2MX","expires_in":600})");
            }
        }
        co_return OrvelKit::unexpected(OrvelKit::TransportError{7, "offline"});
    }

private:
    static OrvelKit::TransportResult answer(std::string body) {
        return OrvelKit::HTTPResponse{200, std::move(body)};
    }
};

// The service of the settings pictures: a key rotation succeeds (with a
// grace period for the previous key); everything else is offline.
class RotatingTransport final : public OrvelKit::HTTPTransport {
public:
    OrvelKit::Task<OrvelKit::TransportResult> send(OrvelKit::HTTPRequest request) override {
        if (request.url.find("/keys/rotate") == std::string::npos) {
            co_return OrvelKit::unexpected(OrvelKit::TransportError{7, "offline"});
        }
        const OrvelProtocol::KeyRotation rotation{"codex-nightly", "key-2", "2026-12-08T09:00:00Z",
                                                  "Codex", "orvel_pub_7Qx2mB9kLr4tWz8vNc3hYd6s"};
        co_return OrvelKit::HTTPResponse{200, OrvelKit::Json::encode(rotation).value()};
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

// The channels, the welcome, the new-channel and the pair screens; the last
// two when the service fails and when it answers.
template <class File>
bool shootOnboarding(Orvel::AppModel& model, Orvel::InboxPanel& panel, OfflineTransport& service,
                     const File& file) {
    using Orvel::AppScreen;
    bool ok = true;
    const auto shoot = [&](AppScreen screen, const QString& name) {
        model.open(screen);
        ok = grab(panel, file(name)) && ok;
        model.back();
    };
    shoot(AppScreen::channels(), "channels");
    shoot(AppScreen::welcome(), "welcome");
    service.answersOnboarding = false;
    shoot(AppScreen::engage(), "engage-failed");
    shoot(AppScreen::pair(), "pair-unavailable");
    service.answersOnboarding = true;
    shoot(AppScreen::engage(), "engage");
    model.clearEngagement();
    shoot(AppScreen::pair(), "pair");
    service.answersOnboarding = false;
    return ok;
}

// The panel over `model` in both appearances: the updates flat and grouped,
// and, for the sample, the inbox, a detail and a card.
bool shootPanel(Orvel::AppModel& model, Orvel::QtExecutor& executor, Orvel::Theme& theme,
                Orvel::Preferences& preferences, const QDir& out, const QString& prefix,
                OfflineTransport* onboarding) {
    const bool sample = onboarding != nullptr;
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
            model.back();
            ok = shootOnboarding(model, panel, *onboarding, file) && ok;
        }
    }
    panel.hide();
    return ok;
}

// Channels for the settings screen: owned ones (active, quiet, pending), one
// only followed, and an idle one the short list leaves out.
OrvelKit::Inbox channelsInbox(OrvelKit::Date now) {
    const auto update = [&](const std::string& channel, double minutesAgo, const char* sender) {
        OrvelProtocol::Notification note;
        note.id = channel + "-1";
        note.channel = channel;
        note.seq = 1;
        note.sender = sender;
        note.status = "done";
        note.title = "Finished";
        note.createdAt = OrvelKit::formatInternetDateTime(now.addingSeconds(-60 * minutesAgo));
        return std::vector{note};
    };
    const auto channel = [](std::string id, std::string name, bool owned,
                            std::vector<OrvelProtocol::Notification> notes) {
        return OrvelKit::ChannelInbox(std::move(id), std::move(name), owned, std::move(notes), {},
                                      1, 0, 0, {});
    };
    return OrvelKit::Inbox(
        {channel("codex-nightly", "Codex nightly", true, update("codex-nightly", 12, "Codex")),
         channel("claude-reviews", "Claude reviews", true,
                 update("claude-reviews", 60 * 30, "Claude")),
         channel("ci-main", "CI on main", false, update("ci-main", 95, "CI")),
         channel("release-notes", "Release notes", true, {}),
         channel("old-bot", "Old bot", true, update("old-bot", 60 * 24 * 5, "Bot"))});
}

// The first visible item under `root` (itself included) named `name`.
QQuickItem* named(QQuickItem* root, const QString& name) {
    if (root == nullptr || !root->isVisible()) {
        return nullptr;
    }
    if (root->objectName() == name) {
        return root;
    }
    for (auto* child : root->childItems()) {
        if (auto* found = named(child, name)) {
            return found;
        }
    }
    return nullptr;
}

// The settings screen in both appearances: whole, with a channel's menu and
// each channel dialog open, and with the key a rotation returned.
bool shootSettings(Orvel::AppModel& model, Orvel::QtExecutor& executor, Orvel::Theme& theme,
                   Orvel::Preferences& preferences, const QDir& out) {
    using Prompt = Orvel::SettingsScreenModel::Prompt;
    Orvel::ModelBridge bridge(model, executor, nullptr);
    Orvel::InboxPanel panel(bridge, theme, preferences);
    auto* settings = panel.rootObject()->property("settings").value<Orvel::SettingsScreenModel*>();
    panel.show();
    bool ok = settings != nullptr;
    for (const auto appearance : {Orvel::Appearance::light, Orvel::Appearance::dark}) {
        theme.setAppearance(appearance);
        const QString suffix = appearance == Orvel::Appearance::dark ? "dark" : "light";
        const auto file = [&](const QString& screen) {
            return out.filePath("settings-" + screen + "-" + suffix + ".png");
        };
        model.open(Orvel::AppScreen::settings());
        ok = grab(panel, file("screen")) && ok;
        const auto size = panel.size();
        panel.resize(size.width(), 1250);
        ok = grab(panel, file("full")) && ok;
        panel.resize(size);
        // The first owned channel's "more" menu, open.
        if (auto* more = named(panel.rootObject(), "channelMore")) {
            QMetaObject::invokeMethod(more, "clicked");
            ok = grab(panel, file("menu")) && ok;
            if (auto* menu = more->findChild<QObject*>("channelMenu")) {
                QMetaObject::invokeMethod(menu, "close");
            }
        }
        for (const auto& [prompt, name] :
             {std::pair{Prompt::Rename, "rename"}, std::pair{Prompt::Rotate, "rotate"},
              std::pair{Prompt::Retire, "retire"}}) {
            settings->presentPrompt(prompt, "codex-nightly");
            ok = grab(panel, file(name)) && ok;
            settings->dismissPrompt();
        }
        settings->presentPrompt(Prompt::Rotate, "codex-nightly");
        settle(50);
        settings->rotate(24);
        ok = grab(panel, file("new-key")) && ok;
        settings->dismissRotatedKey();
        model.back();
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
    auto service = std::make_shared<OfflineTransport>();
    Orvel::AppModel model(Orvel::AppModelServices{std::make_shared<OrvelKit::MemoryConfigStore>(),
                                                  std::make_shared<OrvelKit::MemoryInboxStore>(),
                                                  preferences,
                                                  service,
                                                  nullptr,
                                                  nullptr,
                                                  OrvelKit::Calendar::current(),
                                                  {}},
                          executor, clock);
    Orvel::Theme theme{nullptr};
    bool ok = shootPanel(model, executor, theme, *preferences, out, "panel", service.get());
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
    ok = shootPanel(large, executor, theme, *largePreferences, out, "large", nullptr) && ok;
    ok = shootActivityWindow(large, executor, theme, *largePreferences, out, "activity-large",
                             false) &&
         ok;

    auto settingsConfig = std::make_shared<OrvelKit::MemoryConfigStore>();
    auto config = OrvelKit::AppConfig::defaultConfiguration();
    config.deviceToken = "screenshots";
    settingsConfig->save(config);
    auto settingsPreferences = std::make_shared<Orvel::MemoryPreferences>();
    Orvel::AppModel withChannels(
        Orvel::AppModelServices{
            settingsConfig,
            std::make_shared<OrvelKit::MemoryInboxStore>(channelsInbox(clock.now())),
            settingsPreferences,
            std::make_shared<RotatingTransport>(),
            nullptr,
            nullptr,
            OrvelKit::Calendar::current(),
            {}},
        executor, clock);
    ok = shootSettings(withChannels, executor, theme, *settingsPreferences, out) && ok;
    return ok ? 0 : 1;
}
