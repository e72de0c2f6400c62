#pragma once

// The one object that owns the app's state: the configuration, the inbox, the
// user's preferences and the navigation of the panel. It runs the sync loop
// (a refresh at start and every 20 seconds) and carries out every user action.
//
// Everything here runs on the executor's thread: the model is created, read
// and changed there, and every service call resumes there. Observers hear of
// each change of published state as it happens (see `ModelField`).
//
// Failures never escape: each becomes the `lastError` text the screens show.
// Refreshes may overlap; a response that arrives after a newer one has been
// applied is dropped instead of undoing it, and no update is posted as a
// notification twice. A sync posts at most a few notifications however much
// it brings (see `SyncAnnouncements`).

#include "orvel/core/AppScreen.h"
#include "orvel/core/Clock.h"
#include "orvel/core/LaunchAtLogin.h"
#include "orvel/core/Notifier.h"
#include "orvel/core/Observers.h"
#include "orvel/core/Preferences.h"
#include "orvelkit/async/Completion.h"
#include "orvelkit/async/Executor.h"
#include "orvelkit/async/SingleFlight.h"
#include "orvelkit/async/Task.h"
#include "orvelkit/client/OrvelClient.h"
#include "orvelkit/config/AppConfig.h"
#include "orvelkit/config/ConfigStore.h"
#include "orvelkit/http/HTTPTransport.h"
#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/presentation/PersistentCardDescriptor.h"
#include "orvelkit/presentation/SmartBriefing.h"
#include "orvelkit/protocol/ChannelRecords.h"
#include "orvelkit/protocol/DeviceRecords.h"
#include "orvelkit/store/BackgroundInboxSaver.h"
#include "orvelkit/store/InboxStore.h"
#include "orvelkit/store/SharedInbox.h"
#include "orvelkit/time/Calendar.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace Orvel {

// The published state, one value per field; observers are told which changed.
enum class ModelField {
    inbox,
    config,
    // The time the values are computed for. It moves with every sync, but is
    // only announced when it enters a new minute of the clock, the finest step
    // anything shown depends on ("5m ago"); `now()` is always the latest.
    now,
    briefingBaseline,
    lastError,
    engagement,
    newNotificationSequence,
    launchAtLogin,
    onlyInterrupt,
    groupActivityUpdates,
    expandedActivityEnabled,
    expandedActivityRequestSequence,
    useDevelopmentData,
    pinnedCardIds,
    path,
};

// The preference keys the model owns.
namespace PreferenceKeys {
inline constexpr std::string_view lastInboxOpenedAt = "lastInboxOpenedAt";
inline constexpr std::string_view onlyInterrupt = "onlyInterrupt";
inline constexpr std::string_view groupActivityUpdates = "groupActivityUpdates";
inline constexpr std::string_view expandedActivityEnabled = "expandedActivityEnabled";
inline constexpr std::string_view useDevelopmentData = "useDevelopmentData";
inline constexpr std::string_view pinnedCardIds = "pinnedCardIds";
} // namespace PreferenceKeys

// What the model works with. Everything comes in here; nothing is global.
struct AppModelServices {
    std::shared_ptr<OrvelKit::ConfigStore> configStore;
    std::shared_ptr<OrvelKit::InboxStore> inboxStore;
    std::shared_ptr<Preferences> preferences;
    // Every service call goes through it; a client is built afresh per call.
    std::shared_ptr<OrvelKit::HTTPTransport> transport;
    // Null: local notifications are unavailable and the notifier stays silent.
    std::shared_ptr<NotifierBackend> notifierBackend;
    // Null: launch at login is unavailable and always off.
    std::shared_ptr<LaunchAtLogin> launchAtLogin;
    // The user's calendar: time zone and locale of every date computation.
    OrvelKit::Calendar calendar = OrvelKit::Calendar::current();
    // Asked for the calendar afresh as each refresh starts, so a change of
    // the system's time zone is followed; null keeps `calendar`.
    std::function<OrvelKit::Calendar()> hostCalendar;
    // Reads the inbox on a thread of its own instead of in the constructor,
    // so a long history does not hold up the start of the app. Until it
    // arrives the inbox is empty, nothing saves it, and refreshes and
    // actions that reach the service wait for it (see inboxLoaded()).
    bool loadInboxInBackground = false;
};

class AppModel {
public:
    static constexpr double pollInterval = 20.0;
    // A re-open of the panel within this many seconds belongs to the same
    // briefing session.
    static constexpr double briefingSessionGap = 60.0;

    // Loads the configuration and the inbox (or starts reading the inbox in
    // the background), builds the sample inbox and reads the preferences.
    // Touches no network. `executor` and `clock` must outlive the model.
    AppModel(AppModelServices services, OrvelKit::Executor& executor, const Clock& clock);
    ~AppModel();
    AppModel(const AppModel&) = delete;
    AppModel& operator=(const AppModel&) = delete;

    // ---- Published state -------------------------------------------------
    const OrvelKit::Inbox& inbox() const { return inbox_.get(); }
    const OrvelKit::AppConfig& config() const { return config_; }
    OrvelKit::Date now() const { return now_; }
    const std::optional<OrvelKit::Date>& briefingBaseline() const { return briefingBaseline_; }
    const std::optional<std::string>& lastError() const { return lastError_; }
    const std::optional<OrvelProtocol::Engagement>& engagement() const { return engagement_; }
    std::int64_t newNotificationSequence() const { return newNotificationSequence_; }
    bool launchAtLogin() const { return launchAtLogin_; }
    bool onlyInterrupt() const { return onlyInterrupt_; }
    bool groupActivityUpdates() const { return groupActivityUpdates_; }
    bool expandedActivityEnabled() const { return expandedActivityEnabled_; }
    std::int64_t expandedActivityRequestSequence() const {
        return expandedActivityRequestSequence_;
    }
    bool useDevelopmentData() const { return useDevelopmentData_; }
    const std::set<std::string>& pinnedCardIds() const { return pinnedCardIds_; }
    const std::vector<AppScreen>& path() const { return path_; }

    // Preferences: each is published, then stored.
    void setOnlyInterrupt(bool value);
    void setGroupActivityUpdates(bool value);
    void setExpandedActivityEnabled(bool value);
    void setUseDevelopmentData(bool value);
    // Switches launch at login and publishes the state read back.
    void setLaunchAtLogin(bool enabled);
    // Asks for the expanded activity window.
    void requestExpandedActivity();

    Subscription observe(std::function<void(ModelField)> callback) {
        return observers_.subscribe(std::move(callback));
    }

    // ---- Start-up and the sync loop --------------------------------------
    // Prepares the notifier, starts one refresh at once and schedules one
    // every 20 seconds on the executor's clock. Call once.
    void start();
    // One sync attempt; never fails.
    OrvelKit::Task<void> refresh();
    // Starts a refresh without waiting for it.
    void refreshTick();
    // Whether the inbox is still being read in the background.
    bool inboxLoading() const { return inboxLoading_; }
    // Waits until the inbox has been read; false when the model went away
    // first.
    OrvelKit::Task<bool> inboxLoaded();
    // Makes sure this desktop is a registered device; false when it is not.
    // Callers that overlap wait for one registration and share its outcome.
    OrvelKit::Task<bool> ensureDevice();

    // Records that the user opened the inbox (see briefingSessionGap).
    void beginBriefingSession();

    // Shows a problem with the app's files (see FileProblems) as `lastError`
    // for the rest of the session: successes clear other errors back to it.
    void showFileProblem(std::string text);

    // ---- Navigation ------------------------------------------------------
    AppScreen current() const { return path_.empty() ? AppScreen::inbox() : path_.back(); }
    void open(AppScreen screen);
    void back();
    // Leaves the new-channel screen through the header: also forgets the
    // engagement it showed.
    void clearEngagement();

    // ---- User actions ----------------------------------------------------
    OrvelKit::Task<void> createEngagement();
    OrvelKit::Task<std::optional<OrvelProtocol::PairingCode>> makePairingCode();
    // Makes this unpaired device one of the account that made `code`, then
    // syncs; false (with `lastError`) when it cannot. A paired device keeps
    // its account: its inbox belongs to it.
    OrvelKit::Task<bool> joinWithCode(std::string code);
    OrvelKit::Task<bool> renameChannel(std::string channel, std::string name);
    OrvelKit::Task<std::optional<OrvelProtocol::KeyRotation>> rotateKey(std::string channel,
                                                                        std::uint8_t graceHours);
    OrvelKit::Task<bool> retireChannel(std::string channel);
    void markAllRead();
    void dismiss(std::string_view id);
    void completeAttention(std::string_view id);
    void toggleCardPinned(const std::string& id);

    // ---- Derived state ---------------------------------------------------
    // The sample inbox stands in while development data is on and the real
    // inbox holds no update and no card update.
    bool isShowingDevelopmentData() const;
    const OrvelKit::Inbox& sourceInbox() const;
    // The same inbox as an immutable snapshot that may be read on another
    // thread; the model's next change to the inbox leaves it as it is.
    std::shared_ptr<const OrvelKit::Inbox> sourceInboxSnapshot() const;
    OrvelKit::SmartBriefing smartBriefing() const;
    std::optional<OrvelProtocol::Notification> note(std::string_view id) const;
    // The cards of the source inbox: pinned ones first, then by `updatedAt`
    // descending (as text); ties keep the presentation order.
    std::vector<OrvelKit::PersistentCardDescriptor> persistentCards() const;
    std::optional<OrvelKit::PersistentCardDescriptor> card(std::string_view id) const;
    const OrvelKit::Calendar& calendar() const { return services_.calendar; }
    const std::shared_ptr<OrvelKit::HTTPTransport>& transport() const {
        return services_.transport;
    }

    // Waits until every inbox save handed to the background has been written.
    void flushSaves();

private:
    struct Lifetime {
        bool alive = true;
    };

    OrvelKit::OrvelClient client() const;
    OrvelKit::Task<bool> registerDevice();
    void publish(ModelField field) { observers_.notify(field); }
    void setLastError(std::optional<std::string> text);
    void clearLastError();
    // The notice for a file that could not be read, if any.
    std::optional<std::string> unreadFileText() const;
    // Reads again the stores whose files could not be read; true once all can.
    bool readUnreadFiles();
    void startLoadingInbox();
    // Takes the inbox read in the background, and what waited for it.
    void adoptInbox(OrvelKit::Expected<OrvelKit::Inbox, OrvelKit::FileError> loaded);
    void setNow(OrvelKit::Date date);
    OrvelKit::Inbox& editInbox();
    void saveConfig();
    void saveInbox();
    void refreshFailed(const std::string& text);
    void storeBool(std::string_view key, bool value);
    void storePinnedCardIds();
    OrvelKit::Task<void> sendReadMarks(std::string deviceToken,
                                       std::vector<std::pair<std::string, std::uint64_t>> marks);
    OrvelKit::Task<void> sendDismissal(std::string deviceToken, std::string channel,
                                       std::uint64_t seq);

    AppModelServices services_;
    OrvelKit::Executor& executor_;
    const Clock& clock_;
    Notifier notifier_;
    std::unique_ptr<OrvelKit::BackgroundInboxSaver> saver_;

    OrvelKit::SharedInbox inbox_;
    OrvelKit::AppConfig config_;
    OrvelKit::Date now_;
    // The clock minute `now` was last announced in.
    std::int64_t nowMinute_ = 0;
    std::optional<OrvelKit::Date> briefingBaseline_;
    std::optional<std::string> lastError_;
    std::optional<OrvelProtocol::Engagement> engagement_;
    std::int64_t newNotificationSequence_ = 0;
    bool launchAtLogin_ = false;
    bool onlyInterrupt_ = true;
    bool groupActivityUpdates_ = false;
    bool expandedActivityEnabled_ = false;
    std::int64_t expandedActivityRequestSequence_ = 0;
    bool useDevelopmentData_ = false;
    std::set<std::string> pinnedCardIds_;
    std::vector<AppScreen> path_;

    OrvelKit::Inbox sampleInbox_;
    std::optional<OrvelKit::Date> lastSessionRecordedAt_;
    OrvelKit::Timer timer_;
    OrvelKit::SingleFlight<bool> deviceRegistration_;
    // Whether the inbox changed since it was last handed to the saver.
    bool inboxUnsaved_ = false;
    // Why a store's file could not be read; nothing is saved to it meanwhile.
    std::optional<OrvelKit::FileError> configUnread_;
    std::optional<OrvelKit::FileError> inboxUnread_;
    // While the inbox is read in the background: who waits for it, and the
    // updates dismissed by id meanwhile (carried out once it is here).
    bool inboxLoading_ = false;
    std::thread inboxLoader_;
    std::vector<OrvelKit::Completion<bool>> inboxWaiters_;
    std::vector<std::string> dismissedWhileLoading_;
    std::optional<std::string> fileNotice_;
    // Refreshes are numbered as they send their sync; a response older than
    // one already applied is dropped.
    std::uint64_t syncsSent_ = 0;
    std::uint64_t newestSyncApplied_ = 0;
    std::shared_ptr<Lifetime> lifetime_ = std::make_shared<Lifetime>();
    Observers<ModelField> observers_;
};

} // namespace Orvel
