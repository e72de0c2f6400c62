#include "tests/orvel/shell/views/ViewFixture.h"

#include "orvel/core/MemoryLaunchAtLogin.h"
#include "orvelkit/json/Json.h"
#include "orvelkit/time/InternetDateTime.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QVariantMap>
#include <chrono>

namespace OrvelTest {

// An update framework whose check runs until the test ends it.
class CheckingUpdateFramework final : public Orvel::UpdateFramework {
public:
    bool canCheckForUpdates() const override { return !checking; }
    void checkForUpdates() override { checking = true; }
    bool automaticallyDownloadsUpdates() const override { return automatic; }
    void setAutomaticallyDownloadsUpdates(bool enabled) override { automatic = enabled; }
    void setUpdateReadyHandler(UpdateReadyHandler) override {}

    bool checking = false;
    bool automatic = false;
};

ViewFixture::ViewFixture() {
    reset();
}

ViewFixture::~ViewFixture() = default;

void ViewFixture::reset() {
    settings_.reset();
    pair_.reset();
    engage_.reset();
    channels_.reset();
    openedUrl_.clear();
    inboxScreen_.reset();
    activity_.reset();
    card_.reset();
    detail_.reset();
    updates_.reset();
    bridge_.reset();
    updater_.reset();
    harness_ = std::make_unique<ModelHarness>();
    harness_->paired({"ch"});
    harness_->launchAtLogin = std::make_shared<Orvel::MemoryLaunchAtLogin>();
    harness_->build();
    bridge_ = std::make_unique<Orvel::ModelBridge>(*harness_->model, harness_->executor, nullptr);
    inboxScreen_ = std::make_unique<Orvel::InboxScreenModel>(*harness_->model, harness_->executor);
    updates_ = std::make_unique<Orvel::UpdatesListModel>(*harness_->model, harness_->executor);
    detail_ = std::make_unique<Orvel::DetailScreenModel>(*harness_->model, harness_->executor);
    card_ =
        std::make_unique<Orvel::PersistentCardScreenModel>(*harness_->model, harness_->executor);
    channels_ = std::make_unique<Orvel::ChannelsScreenModel>(*harness_->model, harness_->executor);
    engage_ = std::make_unique<Orvel::EngageScreenModel>(*harness_->model, harness_->executor,
                                                         clipboard_);
    pair_ = std::make_unique<Orvel::PairScreenModel>(
        *harness_->model, harness_->executor,
        [this](const QUrl& url) { openedUrl_ = url.toString(QUrl::FullyEncoded); });
    updateFramework_ = std::make_shared<CheckingUpdateFramework>();
    updater_ = std::make_unique<Orvel::UpdaterController>(
        updateFramework_, nullptr, harness_->executor, harness_->preferences);
    settings_ = std::make_unique<Orvel::SettingsScreenModel>(*harness_->model, harness_->executor,
                                                             updater_.get(), clipboard_);
    activity_ =
        std::make_unique<Orvel::ExpandedActivityModel>(*harness_->model, harness_->executor);
    activity_->setActive(true);
    emit rebuilt();
}

void ViewFixture::sync(const QVariantList& updates) {
    std::vector<OrvelProtocol::Notification> notes;
    const auto now = harness_->clock.now();
    for (qsizetype i = 0; i < updates.size(); ++i) {
        const auto fields = updates[i].toMap();
        const auto seq = fields.value("seq", static_cast<qulonglong>(i + 1)).toULongLong();
        const auto minutesAgo = fields.value("minutesAgo", 5.0).toDouble();
        auto note =
            notification("ch", seq, std::nullopt,
                         OrvelKit::formatInternetDateTime(now.addingSeconds(-60 * minutesAgo)));
        const auto text = [&](const char* key, std::optional<std::string> otherwise) {
            return fields.contains(key) ? fields[key].toString().toStdString() : otherwise;
        };
        note.status = text("status", note.status);
        note.title = *text("title", note.title);
        note.body = text("body", note.body);
        note.details = text("details", note.details);
        note.sender = text("agent", note.sender);
        for (const auto& link : fields.value("links").toList()) {
            const auto entry = link.toMap();
            note.links.push_back(
                {entry["label"].toString().toStdString(), entry["url"].toString().toStdString()});
        }
        notes.push_back(std::move(note));
    }
    harness_->syncAnswers({channelSync("ch", std::move(notes))});
    harness_->run(harness_->model->refresh());
}

bool ViewFixture::syncJson(const QString& answer) {
    auto decoded = OrvelKit::Json::decode<OrvelProtocol::SyncResponse>(answer.toStdString());
    if (!decoded) {
        qWarning("Fixture.syncJson: %s", decoded.error().description().c_str());
        return false;
    }
    harness_->service->answer("sync", std::move(decoded).value());
    harness_->run(harness_->model->refresh());
    return true;
}

void ViewFixture::answer(const QString& endpoint, const QString& json) {
    harness_->service->on(endpoint.toStdString(),
                          [body = json.toStdString()](const OrvelKit::HTTPRequest&) {
                              return OrvelKit::TransportResult(OrvelKit::HTTPResponse{200, body});
                          });
}

void ViewFixture::fail(const QString& endpoint, int status) {
    harness_->service->fail(endpoint.toStdString(), status);
}

void ViewFixture::advanceSeconds(double seconds) {
    harness_->executor.advance(std::chrono::duration_cast<OrvelKit::Executor::Duration>(
        std::chrono::duration<double>(seconds)));
    settle();
}

QString ViewFixture::clipboardText() const {
    return QGuiApplication::clipboard()->text();
}

void ViewFixture::advanceMinutes(double minutes) {
    harness_->clock.advance(60 * minutes);
    settle();
}

void ViewFixture::visitedMinutesAgo(double minutes) {
    harness_->preferences->set(Orvel::PreferenceKeys::lastInboxOpenedAt,
                               harness_->clock.now().addingSeconds(-60 * minutes));
    harness_->model->beginBriefingSession();
    settle();
}

void ViewFixture::settle() {
    harness_->executor.runUntilIdle();
}

bool ViewFixture::isRead(const QString& id) const {
    const auto note = harness_->model->note(id.toStdString());
    const auto* channel = note ? harness_->model->inbox().channel(note->channel) : nullptr;
    return channel && channel->lastReadSeq() >= note->seq;
}

void ViewFixture::setGroupActivityUpdates(bool grouped) {
    harness_->model->setGroupActivityUpdates(grouped);
    settle();
}

QQuickItem* ViewFixture::visibleText(QQuickItem* root, const QString& text) const {
    if (!root || !root->isVisible()) {
        return nullptr;
    }
    if (root->property("text").toString() == text) {
        return root;
    }
    for (auto* child : root->childItems()) {
        if (auto* found = visibleText(child, text)) {
            return found;
        }
    }
    return nullptr;
}

QString ViewFixture::lastRequestBody(const QString& endpoint) const {
    const auto requests = harness_->service->requestsTo(endpoint.toStdString());
    return requests.empty() ? QString() : QString::fromStdString(requests.back().body.value_or(""));
}

void ViewFixture::finishUpdateCheck() {
    updateFramework_->checking = false;
    // What the app does when its update feed answers.
    if (updater_->onChange) {
        updater_->onChange();
    }
}

bool ViewFixture::launchesAtLogin() const {
    return harness_->launchAtLogin->isEnabled();
}

} // namespace OrvelTest
