#include "orvel/core/AppModel.h"

#include "orvel/core/FileProblems.h"
#include "orvel/core/SampleData.h"
#include "orvel/core/SyncAnnouncements.h"
#include "orvelkit/async/Spawn.h"
#include "orvelkit/presentation/DeliveryTiming.h"
#include "orvelkit/support/AllocatorPolicy.h"
#include "orvelkit/time/InternetDateTime.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <utility>

namespace Orvel {

using namespace OrvelKit;
namespace Protocol = OrvelProtocol;

namespace {

// Answers with at least this many updates (a few megabytes of text) are
// large: their memory is returned to the system once they are merged.
constexpr std::size_t largeAnswerUpdates = 10000;

std::string prefixed(std::string_view prefix, const ClientError& error) {
    std::string text(prefix);
    text += error.description();
    return text;
}

bool holdsNothing(const Inbox& inbox) {
    return std::all_of(inbox.channels().begin(), inbox.channels().end(),
                       [](const ChannelInbox& channel) {
                           return channel.notifications().empty() && channel.cardUpdates().empty();
                       });
}

// Per channel, the higher of the two positions.
ChannelCursors highest(ChannelCursors cursors, const ChannelCursors& others) {
    for (const auto& [channel, seq] : others) {
        auto& mine = cursors[channel];
        mine = std::max(mine, seq);
    }
    return cursors;
}

// A response may name a channel twice; an update it carries twice is still
// one update, announced as its first copy. `updates` is in ascending `seq`
// order, so the copies of one update lie in one run of equal numbers: only
// those runs are compared, without a set of every update the answer brings.
std::vector<const Protocol::Notification*>
withoutRepeats(std::vector<const Protocol::Notification*> updates) {
    std::vector<bool> repeated(updates.size(), false);
    std::vector<std::size_t> run;
    for (std::size_t begin = 0, end = 0; begin < updates.size(); begin = end) {
        end = begin + 1;
        while (end < updates.size() && updates[end]->seq == updates[begin]->seq) {
            ++end;
        }
        if (end - begin == 1) {
            continue;
        }
        run.clear();
        for (std::size_t i = begin; i < end; ++i) {
            run.push_back(i);
        }
        std::stable_sort(run.begin(), run.end(), [&](std::size_t a, std::size_t b) {
            return updates[a]->channel < updates[b]->channel;
        });
        for (std::size_t k = 1; k < run.size(); ++k) {
            repeated[run[k]] = updates[run[k]]->channel == updates[run[k - 1]]->channel;
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < updates.size(); ++i) {
        if (!repeated[i]) {
            updates[kept++] = updates[i];
        }
    }
    updates.resize(kept);
    return updates;
}

std::int64_t clockMinute(Date date) {
    constexpr std::int64_t microsecondsPerMinute = 60'000'000;
    const auto microseconds = date.microsecondsSinceEpoch();
    // Rounded down, also before 1970.
    return microseconds / microsecondsPerMinute -
           (microseconds % microsecondsPerMinute < 0 ? 1 : 0);
}

} // namespace

AppModel::AppModel(AppModelServices services, Executor& executor, const Clock& clock)
    : services_(std::move(services)), executor_(executor), clock_(clock),
      notifier_(services_.notifierBackend, executor, services_.calendar),
      saver_(std::make_unique<BackgroundInboxSaver>(*services_.inboxStore)), now_(clock.now()),
      nowMinute_(clockMinute(now_)) {
    if (auto config = services_.configStore->load()) {
        config_ = std::move(config).value();
    } else {
        config_ = AppConfig::defaultConfiguration();
        configUnread_ = std::move(config).error();
    }
    if (services_.loadInboxInBackground) {
        startLoadingInbox();
    } else if (auto inbox = services_.inboxStore->load()) {
        inbox_ = SharedInbox(std::move(inbox).value());
    } else {
        inboxUnread_ = std::move(inbox).error();
    }
    lastError_ = unreadFileText();
    sampleInbox_ = SampleData::inbox(now_);

    auto& preferences = *services_.preferences;
    briefingBaseline_ = preferences.dateValue(PreferenceKeys::lastInboxOpenedAt);
    onlyInterrupt_ = preferences.boolValue(PreferenceKeys::onlyInterrupt).value_or(true);
    groupActivityUpdates_ =
        preferences.boolValue(PreferenceKeys::groupActivityUpdates).value_or(false);
    expandedActivityEnabled_ =
        preferences.boolValue(PreferenceKeys::expandedActivityEnabled).value_or(false);
    useDevelopmentData_ = preferences.boolValue(PreferenceKeys::useDevelopmentData).value_or(false);
    if (auto pinned = preferences.stringArray(PreferenceKeys::pinnedCardIds)) {
        pinnedCardIds_ = std::set<std::string>(pinned->begin(), pinned->end());
    }
    launchAtLogin_ = services_.launchAtLogin && services_.launchAtLogin->isEnabled();
}

AppModel::~AppModel() {
    // Work still in flight finds the model gone when it resumes.
    lifetime_->alive = false;
    timer_.cancel();
    if (inboxLoader_.joinable()) {
        inboxLoader_.join();
    }
    for (auto& done : std::exchange(inboxWaiters_, {})) {
        done(false);
    }
    // The saver writes what is still waiting before it goes.
    saver_.reset();
}

// ---- Published state ------------------------------------------------------

void AppModel::setOnlyInterrupt(bool value) {
    onlyInterrupt_ = value;
    publish(ModelField::onlyInterrupt);
    storeBool(PreferenceKeys::onlyInterrupt, value);
}

void AppModel::setGroupActivityUpdates(bool value) {
    groupActivityUpdates_ = value;
    publish(ModelField::groupActivityUpdates);
    storeBool(PreferenceKeys::groupActivityUpdates, value);
}

void AppModel::setExpandedActivityEnabled(bool value) {
    expandedActivityEnabled_ = value;
    publish(ModelField::expandedActivityEnabled);
    storeBool(PreferenceKeys::expandedActivityEnabled, value);
}

void AppModel::setUseDevelopmentData(bool value) {
    useDevelopmentData_ = value;
    publish(ModelField::useDevelopmentData);
    storeBool(PreferenceKeys::useDevelopmentData, value);
}

void AppModel::setLaunchAtLogin(bool enabled) {
    launchAtLogin_ = services_.launchAtLogin && services_.launchAtLogin->setEnabled(enabled);
    publish(ModelField::launchAtLogin);
}

void AppModel::requestExpandedActivity() {
    ++expandedActivityRequestSequence_;
    publish(ModelField::expandedActivityRequestSequence);
}

void AppModel::storeBool(std::string_view key, bool value) {
    services_.preferences->set(key, value);
}

void AppModel::storePinnedCardIds() {
    // A set iterates in ascending order: the stored array is sorted.
    services_.preferences->set(
        PreferenceKeys::pinnedCardIds,
        std::vector<std::string>(pinnedCardIds_.begin(), pinnedCardIds_.end()));
}

void AppModel::setLastError(std::optional<std::string> text) {
    if (lastError_ == text) {
        return;
    }
    lastError_ = std::move(text);
    publish(ModelField::lastError);
}

void AppModel::clearLastError() {
    setLastError(fileNotice_);
}

void AppModel::showFileProblem(std::string text) {
    fileNotice_ = std::move(text);
    setLastError(fileNotice_);
}

std::optional<std::string> AppModel::unreadFileText() const {
    for (const auto* unread : {&configUnread_, &inboxUnread_}) {
        if (*unread) {
            return FileProblems::unreadable((*unread)->path, (*unread)->code.message());
        }
    }
    return std::nullopt;
}

bool AppModel::readUnreadFiles() {
    if (!configUnread_ && !inboxUnread_) {
        return true;
    }
    // Once a file can be read, what it holds is taken as it is; its notice,
    // if the stores reported it too, goes.
    const auto before = unreadFileText();
    if (configUnread_) {
        if (auto config = services_.configStore->load()) {
            configUnread_.reset();
            config_ = std::move(config).value();
            publish(ModelField::config);
        } else {
            configUnread_ = std::move(config).error();
        }
    }
    if (inboxUnread_) {
        if (auto inbox = services_.inboxStore->load()) {
            inboxUnread_.reset();
            inbox_ = SharedInbox(std::move(inbox).value());
            inboxUnsaved_ = false;
            publish(ModelField::inbox);
        } else {
            inboxUnread_ = std::move(inbox).error();
        }
    }
    if (fileNotice_ == before) {
        fileNotice_.reset();
    }
    if (const auto text = unreadFileText()) {
        setLastError(text);
        return false;
    }
    clearLastError();
    return true;
}

void AppModel::startLoadingInbox() {
    inboxLoading_ = true;
    // Nothing else uses the store until the inbox is here: saves wait for it.
    inboxLoader_ = std::thread(
        [this, store = services_.inboxStore, door = executor_.door(), life = lifetime_] {
            auto loaded = std::make_shared<Expected<Inbox, FileError>>(store->load());
            door->post([this, life, loaded] {
                if (life->alive) {
                    adoptInbox(std::move(*loaded));
                }
            });
        });
}

void AppModel::adoptInbox(Expected<Inbox, FileError> loaded) {
    inboxLoading_ = false;
    if (loaded) {
        inbox_ = SharedInbox(std::move(loaded).value());
    } else {
        inbox_ = SharedInbox();
        inboxUnread_ = std::move(loaded).error();
        setLastError(unreadFileText());
    }
    // What was changed meanwhile was changed in an empty inbox: nothing to keep.
    inboxUnsaved_ = false;
    publish(ModelField::inbox);
    for (const auto& id : std::exchange(dismissedWhileLoading_, {})) {
        dismiss(id);
    }
    for (auto& done : std::exchange(inboxWaiters_, {})) {
        done(true);
    }
}

Task<bool> AppModel::inboxLoaded() {
    if (!inboxLoading_) {
        co_return true;
    }
    auto wait = [this](Completion<bool> done) { inboxWaiters_.push_back(std::move(done)); };
    auto awaiter = suspendUntil<bool>(std::move(wait));
    co_return co_await awaiter;
}

void AppModel::setNow(Date date) {
    now_ = date;
    // Within the minute nothing shown changes: every view recomputing over
    // the whole inbox after each idle sync would be wasted work.
    const auto minute = clockMinute(date);
    if (minute == nowMinute_) {
        return;
    }
    nowMinute_ = minute;
    publish(ModelField::now);
}

Inbox& AppModel::editInbox() {
    inboxUnsaved_ = true;
    return inbox_.edit();
}

void AppModel::saveConfig() {
    // A configuration that could not be read is never written over.
    if (configUnread_) {
        return;
    }
    services_.configStore->save(config_);
}

void AppModel::saveInbox() {
    // Writing an unchanged inbox again would only cost time and disk wear,
    // and one that could not be read, or is still being read, is never
    // written over.
    if (!inboxUnsaved_ || inboxUnread_ || inboxLoading_) {
        return;
    }
    inboxUnsaved_ = false;
    saver_->save(inbox_.snapshot());
}

void AppModel::flushSaves() {
    saver_->flush();
}

OrvelClient AppModel::client() const {
    auto base = config_.baseURL().value_or(std::string(AppConfig::defaultServer));
    return OrvelClient(std::move(base), services_.transport);
}

// ---- Start-up and the sync loop --------------------------------------------

void AppModel::start() {
    notifier_.prepare();
    refreshTick();
    const auto interval =
        std::chrono::duration_cast<Executor::Duration>(std::chrono::duration<double>(pollInterval));
    timer_ = executor_.scheduleRepeating(interval, [this] { refreshTick(); });
}

void AppModel::refreshTick() {
    spawn(executor_, refresh());
}

Task<bool> AppModel::ensureDevice() {
    // Nothing reaches the service while the files it would change cannot
    // be read, or are still being read: the answers could not be kept.
    const auto life = lifetime_;
    const bool loaded = co_await inboxLoaded();
    if (!loaded || !life->alive || !readUnreadFiles()) {
        co_return false;
    }
    if (config_.isPaired()) {
        co_return true;
    }
    // Overlapping callers (a tick and an action, two ticks) share one
    // registration: a second one would replace the first device's token.
    auto registration = deviceRegistration_.run([this] { return registerDevice(); }, false);
    co_return co_await std::move(registration);
}

Task<bool> AppModel::registerDevice() {
    const auto life = lifetime_;
    auto credentials = co_await client().bootstrapDevice();
    if (!life->alive) {
        co_return false;
    }
    if (!credentials) {
        setLastError(prefixed("Couldn't pair device: ", credentials.error()));
        co_return false;
    }
    config_.deviceToken = credentials->deviceToken;
    config_.accountId = credentials->accountId;
    publish(ModelField::config);
    saveConfig();
    clearLastError();
    co_return true;
}

void AppModel::refreshFailed(const std::string& text) {
    setLastError(text);
    setNow(clock_.now());
    saveInbox();
}

Task<void> AppModel::refresh() {
    const auto life = lifetime_;
    if (services_.hostCalendar) {
        // The user may have moved to another time zone since the last one.
        services_.calendar = services_.hostCalendar();
    }
    const bool registered = co_await ensureDevice();
    if (!life->alive || !registered || !config_.deviceToken) {
        co_return;
    }
    const std::string deviceToken = *config_.deviceToken;
    const auto cursors = inbox().syncCursors();
    const auto cardCursors = inbox().cardSyncCursors();
    const auto number = ++syncsSent_;
    // The answer can only speak for the channels configured when it was
    // asked for: one created while it was on its way is not in it.
    std::set<std::string> configuredWhenAsked;
    for (const auto& entry : config_.channels) {
        configuredWhenAsked.insert(entry.channel);
    }

    auto response = co_await client().sync(deviceToken, cursors, cardCursors);
    if (!life->alive) {
        co_return;
    }
    if (!response) {
        refreshFailed(response.error().description());
        co_return;
    }
    if (number < newestSyncApplied_) {
        // A refresh sent later has already brought a newer picture; applying
        // this one would bring back channels it removed. The service was
        // reached, so the attempt still counts as a success.
        clearLastError();
        setNow(clock_.now());
        co_return;
    }
    newestSyncApplied_ = number;

    ChannelSequenceSets serviceDismissals;
    for (const auto& record : response->channels) {
        // A repeated channel: the later record wins.
        serviceDismissals[record.channel] =
            SequenceSet(record.dismissedSeqs.begin(), record.dismissedSeqs.end());
    }
    const auto pending = inbox().pendingDismissals(serviceDismissals);

    // New relative to what was asked for and to what an overlapping refresh
    // has merged meanwhile, so nothing is announced twice.
    const auto seen = highest(cursors, inbox().syncCursors());
    // Channels this device has never synced bring history, not news.
    std::set<std::string, std::less<>> backlogChannels;
    for (const auto& record : response->channels) {
        if (!inbox().channel(record.channel)) {
            backlogChannels.insert(record.channel);
        }
    }
    // Planned before the merge takes the records: only the few posted one
    // by one are copied, the rest is counted.
    SyncAnnouncements announcements;
    bool news = false;
    {
        const auto banner =
            withoutRepeats(Presentation::bannerableRefs(*response, seen, clock_.now(), calendar()));
        news = !banner.empty();
        announcements = SyncAnnouncements::plan(banner, backlogChannels, onlyInterrupt_);
    }

    std::set<std::string> reported;
    std::size_t updatesReceived = 0;
    for (const auto& record : response->channels) {
        reported.insert(record.channel);
        updatesReceived += record.notifications.size() + record.cardUpdates.size();
    }

    // An answer that brings nothing new leaves nothing to publish or save:
    // an idle app must not encode and write a large inbox every 20 seconds.
    // The records move into the inbox; the answer keeps no copy of them.
    if (inbox_.edit().applySync(std::move(response->channels))) {
        inboxUnsaved_ = true;
        publish(ModelField::inbox);
    }

    if (news) {
        ++newNotificationSequence_;
        publish(ModelField::newNotificationSequence);
    }

    const auto dropped = std::erase_if(config_.channels, [&](const ChannelConfig& channel) {
        return !reported.contains(channel.channel) && configuredWhenAsked.contains(channel.channel);
    });
    reported.clear();
    // A large answer (the first sync of a long history) leaves its memory
    // scattered over the heap once freed, and so does the views' first look
    // at the inbox it filled: give it back rather than keep it resident for
    // the rest of the day. Posted, it runs after the recomputes the changes
    // above have posted.
    response->channels = {};
    if (updatesReceived >= largeAnswerUpdates) {
        executor_.post([] { OrvelKit::returnFreeMemory(); });
    }
    // Like the inbox, the configuration is only announced and written when
    // the answer changed it.
    if (dropped > 0) {
        publish(ModelField::config);
        saveConfig();
    }

    for (const auto& update : announcements.oneByOne) {
        notifier_.post(update, clock_.now());
    }
    if (announcements.summary) {
        notifier_.postSummary(*announcements.summary);
    }

    for (const auto& [channel, seqs] : pending) {
        for (const auto seq : seqs) {
            auto acknowledged = co_await client().dismiss(deviceToken, channel, seq);
            if (!life->alive) {
                co_return;
            }
            if (!acknowledged) {
                refreshFailed(acknowledged.error().description());
                co_return;
            }
        }
    }

    clearLastError();
    setNow(clock_.now());
    saveInbox();
}

void AppModel::beginBriefingSession() {
    const Date t = clock_.now();
    if (lastSessionRecordedAt_ &&
        t.timeIntervalSince(*lastSessionRecordedAt_) < briefingSessionGap) {
        return;
    }
    briefingBaseline_ = services_.preferences->dateValue(PreferenceKeys::lastInboxOpenedAt);
    publish(ModelField::briefingBaseline);
    services_.preferences->set(PreferenceKeys::lastInboxOpenedAt, t);
    lastSessionRecordedAt_ = t;
    setNow(t);
}

// ---- Navigation ------------------------------------------------------------

void AppModel::open(AppScreen screen) {
    path_.push_back(std::move(screen));
    publish(ModelField::path);
}

void AppModel::back() {
    if (path_.empty()) {
        return;
    }
    path_.pop_back();
    publish(ModelField::path);
}

void AppModel::clearEngagement() {
    if (!engagement_) {
        return;
    }
    engagement_.reset();
    publish(ModelField::engagement);
}

// ---- User actions ------------------------------------------------------------

Task<void> AppModel::createEngagement() {
    const auto life = lifetime_;
    if (!co_await ensureDevice() || !life->alive || !config_.deviceToken) {
        co_return;
    }
    auto engagement = co_await client().engage(*config_.deviceToken, std::nullopt);
    if (!life->alive) {
        co_return;
    }
    if (!engagement) {
        setLastError(prefixed("Couldn't create channel: ", engagement.error()));
        co_return;
    }
    config_.addOrUpdate(ChannelConfig{engagement->channel, engagement->token,
                                      formatInternetDateTime(clock_.now())});
    publish(ModelField::config);
    saveConfig();
    engagement_ = std::move(*engagement);
    publish(ModelField::engagement);
    clearLastError();
    co_await refresh();
}

Task<std::optional<Protocol::PairingCode>> AppModel::makePairingCode() {
    const auto life = lifetime_;
    if (!co_await ensureDevice() || !life->alive || !config_.deviceToken) {
        co_return std::nullopt;
    }
    auto code = co_await client().pairingCode(*config_.deviceToken);
    if (!life->alive) {
        co_return std::nullopt;
    }
    if (!code) {
        setLastError(prefixed("Couldn't create a pairing code: ", code.error()));
        co_return std::nullopt;
    }
    co_return std::move(*code);
}

Task<bool> AppModel::joinWithCode(std::string code) {
    const auto life = lifetime_;
    const bool loaded = co_await inboxLoaded();
    if (!loaded || !life->alive || !readUnreadFiles()) {
        co_return false;
    }
    if (config_.isPaired()) {
        setLastError("Couldn't join: this device already belongs to an account");
        co_return false;
    }
    auto credentials = co_await client().redeem(std::move(code));
    if (!life->alive) {
        co_return false;
    }
    if (!credentials) {
        setLastError(prefixed("Couldn't join: ", credentials.error()));
        co_return false;
    }
    if (config_.isPaired()) {
        // A registration finished while the code was on its way: keep it.
        setLastError("Couldn't join: this device already belongs to an account");
        co_return false;
    }
    config_.deviceToken = credentials->deviceToken;
    config_.accountId = credentials->accountId;
    publish(ModelField::config);
    saveConfig();
    clearLastError();
    co_await refresh();
    co_return life->alive;
}

Task<bool> AppModel::renameChannel(std::string channel, std::string name) {
    const auto life = lifetime_;
    if (!co_await ensureDevice() || !life->alive || !config_.deviceToken) {
        co_return false;
    }
    auto acknowledged =
        co_await client().renameChannel(*config_.deviceToken, std::move(channel), std::move(name));
    if (!life->alive) {
        co_return false;
    }
    if (!acknowledged) {
        setLastError(
            prefixed("Couldn't update that channel's display name: ", acknowledged.error()));
        co_return false;
    }
    clearLastError();
    co_await refresh();
    co_return true;
}

Task<std::optional<Protocol::KeyRotation>> AppModel::rotateKey(std::string channel,
                                                               std::uint8_t graceHours) {
    const auto life = lifetime_;
    if (!co_await ensureDevice() || !life->alive || !config_.deviceToken) {
        co_return std::nullopt;
    }
    auto rotation = co_await client().rotateKey(*config_.deviceToken, channel, graceHours);
    if (!life->alive) {
        co_return std::nullopt;
    }
    if (!rotation) {
        setLastError(prefixed("Couldn't rotate that channel key: ", rotation.error()));
        co_return std::nullopt;
    }
    const auto existing =
        std::find_if(config_.channels.begin(), config_.channels.end(),
                     [&](const ChannelConfig& entry) { return entry.channel == channel; });
    if (existing != config_.channels.end()) {
        config_.addOrUpdate(ChannelConfig{channel, rotation->token, existing->createdAt});
        publish(ModelField::config);
        saveConfig();
    }
    clearLastError();
    co_return std::move(*rotation);
}

Task<bool> AppModel::retireChannel(std::string channel) {
    const auto life = lifetime_;
    if (!co_await ensureDevice() || !life->alive || !config_.deviceToken) {
        co_return false;
    }
    auto acknowledged = co_await client().retireChannel(*config_.deviceToken, channel);
    if (!life->alive) {
        co_return false;
    }
    if (!acknowledged) {
        setLastError(prefixed("Couldn't retire that channel: ", acknowledged.error()));
        co_return false;
    }
    std::erase_if(config_.channels,
                  [&](const ChannelConfig& entry) { return entry.channel == channel; });
    publish(ModelField::config);
    editInbox().remove(channel);
    publish(ModelField::inbox);
    saveConfig();
    saveInbox();
    clearLastError();
    co_return true;
}

void AppModel::markAllRead() {
    if (isShowingDevelopmentData()) {
        sampleInbox_.markAllRead();
        publish(ModelField::inbox);
        return;
    }
    editInbox().markAllRead();
    publish(ModelField::inbox);
    saveInbox();
    if (!config_.isPaired() || !config_.deviceToken) {
        return;
    }
    std::vector<std::pair<std::string, std::uint64_t>> marks;
    marks.reserve(inbox().channels().size());
    for (const auto& channel : inbox().channels()) {
        marks.emplace_back(channel.channel(), channel.cursor());
    }
    spawn(executor_, sendReadMarks(*config_.deviceToken, std::move(marks)));
}

Task<void> AppModel::sendReadMarks(std::string deviceToken,
                                   std::vector<std::pair<std::string, std::uint64_t>> marks) {
    const auto life = lifetime_;
    for (auto& [channel, seq] : marks) {
        // A failure is not shown; the walk goes on with the next channel.
        (void)co_await client().markRead(deviceToken, std::move(channel), seq);
        if (!life->alive) {
            co_return;
        }
    }
}

void AppModel::dismiss(std::string_view id) {
    if (inboxLoading_) {
        dismissedWhileLoading_.emplace_back(id);
        return;
    }
    const auto update = note(id);
    if (!update) {
        return;
    }
    if (isShowingDevelopmentData()) {
        // A sample update exists only here: the service has never heard of
        // its channel.
        sampleInbox_.dismiss(update->channel, update->seq);
        publish(ModelField::inbox);
        return;
    }
    editInbox().dismiss(update->channel, update->seq);
    publish(ModelField::inbox);
    saveInbox();
    if (config_.isPaired() && config_.deviceToken) {
        spawn(executor_, sendDismissal(*config_.deviceToken, update->channel, update->seq));
    }
}

Task<void> AppModel::sendDismissal(std::string deviceToken, std::string channel,
                                   std::uint64_t seq) {
    const auto life = lifetime_;
    auto acknowledged = co_await client().dismiss(std::move(deviceToken), std::move(channel), seq);
    if (!life->alive) {
        co_return;
    }
    if (acknowledged) {
        clearLastError();
    } else {
        // The next sync sends it again: the service's record will lack it.
        setLastError(prefixed("Couldn't sync that dismissal: ", acknowledged.error()));
    }
}

void AppModel::completeAttention(std::string_view id) {
    if (!note(id)) {
        return;
    }
    const std::string ownId(id);
    dismiss(ownId);
    if (current() == AppScreen::detail(ownId)) {
        back();
    }
}

void AppModel::toggleCardPinned(const std::string& id) {
    if (!pinnedCardIds_.erase(id)) {
        pinnedCardIds_.insert(id);
    }
    publish(ModelField::pinnedCardIds);
    storePinnedCardIds();
}

// ---- Derived state -----------------------------------------------------------

bool AppModel::isShowingDevelopmentData() const {
    // An inbox still being read is not known to be empty.
    return useDevelopmentData_ && !inboxLoading_ && holdsNothing(inbox());
}

const Inbox& AppModel::sourceInbox() const {
    return isShowingDevelopmentData() ? sampleInbox_ : inbox();
}

std::shared_ptr<const Inbox> AppModel::sourceInboxSnapshot() const {
    // The sample is a handful of updates: a copy costs nothing.
    return isShowingDevelopmentData() ? std::make_shared<const Inbox>(sampleInbox_)
                                      : inbox_.snapshot();
}

SmartBriefing AppModel::smartBriefing() const {
    return Presentation::smartBriefing(sourceInbox(), now_, briefingBaseline_, calendar());
}

std::optional<Protocol::Notification> AppModel::note(std::string_view id) const {
    // The first match in `all` order (highest `seq`, then channel order, then
    // list order), found without building that list.
    const Protocol::Notification* found = nullptr;
    for (const auto& channel : sourceInbox().channels()) {
        for (const auto& update : channel.notifications()) {
            if (update.id == id && (!found || update.seq > found->seq)) {
                found = &update;
            }
        }
    }
    if (!found) {
        return std::nullopt;
    }
    return *found;
}

} // namespace Orvel
