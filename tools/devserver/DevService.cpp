#include "tools/devserver/DevService.h"

#include <algorithm>
#include <cctype>

namespace OrvelDev {

using namespace OrvelProtocol;

namespace {

constexpr std::size_t idLength = 16;
constexpr std::size_t tokenLength = 32;

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

// Codes are typed by people: ignore case, spaces and dashes.
std::string normalisedCode(std::string_view code) {
    std::string result;
    for (const char c : code) {
        if (c == ' ' || c == '-' || c == '\t') {
            continue;
        }
        result += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}

std::uint64_t latestSeq(const ChannelState& channel) {
    return channel.notifications.empty() ? 0 : channel.notifications.back().seq;
}

std::uint64_t latestCardSeq(const ChannelState& channel) {
    return channel.cardUpdates.empty() ? 0 : channel.cardUpdates.back().cardSeq;
}

std::uint64_t cursorFor(const Cursors& cursors, std::string_view channel) {
    const auto found = cursors.find(channel);
    return found == cursors.end() ? 0 : found->second;
}

std::vector<Notification> notificationsAfter(const ChannelState& channel, std::uint64_t after) {
    const auto first =
        std::upper_bound(channel.notifications.begin(), channel.notifications.end(), after,
                         [](std::uint64_t seq, const Notification& n) { return seq < n.seq; });
    return {first, channel.notifications.end()};
}

std::vector<PersistentCardUpdate> cardUpdatesAfter(const ChannelState& channel,
                                                   std::uint64_t after) {
    const auto first = std::upper_bound(
        channel.cardUpdates.begin(), channel.cardUpdates.end(), after,
        [](std::uint64_t seq, const PersistentCardUpdate& u) { return seq < u.cardSeq; });
    return {first, channel.cardUpdates.end()};
}

FollowState* findFollow(AccountState& account, std::string_view channel) {
    for (auto& follow : account.follows) {
        if (follow.channel == channel) {
            return &follow;
        }
    }
    return nullptr;
}

// Characters as a reader counts them: Unicode code points of UTF-8 text.
std::size_t textLength(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool follows(const AccountState& account, std::string_view channel) {
    return std::any_of(account.follows.begin(), account.follows.end(),
                       [&](const FollowState& f) { return f.channel == channel; });
}

} // namespace

DevService::DevService(Clock clock, ServiceLimits limits)
    : clock_(std::move(clock)), limits_(limits),
      publishRate_(limits.publishesPerMinute, limits.publishBurst) {
    if (!clock_) {
        clock_ = [] { return std::chrono::system_clock::now(); };
    }
}

TimePoint DevService::now() const {
    return clock_();
}

std::string DevService::uniqueId(std::string_view prefix, std::size_t length,
                                 const std::function<bool(const std::string&)>& taken) {
    std::string id;
    do {
        id = std::string(prefix) + random_(length);
    } while (taken(id));
    return id;
}

// --- Authentication -------------------------------------------------------

ServiceResult<const AccountState*> DevService::deviceAccount(std::string_view deviceToken) const {
    if (deviceToken.empty()) {
        return OrvelKit::unexpected(ServiceError::unauthorized("missing device token"));
    }
    const auto device = devices_.find(deviceToken);
    if (device == devices_.end()) {
        return OrvelKit::unexpected(ServiceError::unauthorized("unknown device token"));
    }
    const auto account = accounts_.find(device->second.accountId);
    if (account == accounts_.end()) {
        return OrvelKit::unexpected(ServiceError::unauthorized("unknown device token"));
    }
    return &account->second;
}

ServiceResult<AccountState*> DevService::deviceAccount(std::string_view deviceToken) {
    auto found = std::as_const(*this).deviceAccount(deviceToken);
    if (!found) {
        return OrvelKit::unexpected(found.error());
    }
    return const_cast<AccountState*>(*found);
}

bool DevService::isLive(const KeyState& key) const {
    return !key.revoked && (!key.expiresAtMs || toMillis(now()) < *key.expiresAtMs);
}

ServiceResult<const KeyState*> DevService::liveKey(std::string_view publishToken) const {
    if (publishToken.empty()) {
        return OrvelKit::unexpected(ServiceError::unauthorized("missing publish token"));
    }
    const auto key = keys_.find(publishToken);
    if (key == keys_.end()) {
        return OrvelKit::unexpected(ServiceError::unauthorized("unknown publish token"));
    }
    if (!isLive(key->second)) {
        return OrvelKit::unexpected(
            ServiceError::unauthorized("publish key " + key->second.keyId + " is no longer valid"));
    }
    return &key->second;
}

// --- Access to channels ---------------------------------------------------

ServiceResult<ChannelState*> DevService::ownedChannel(const AccountState& account,
                                                      std::string_view channel) {
    const auto found = channels_.find(channel);
    if (found == channels_.end()) {
        return OrvelKit::unexpected(ServiceError::notFound("unknown channel"));
    }
    if (found->second.owner != account.id) {
        return OrvelKit::unexpected(
            ServiceError::forbidden("only the channel's owner may change it"));
    }
    return &found->second;
}

ServiceResult<std::pair<ChannelState*, FollowState*>>
DevService::followedChannel(AccountState& account, std::string_view channel) {
    const auto found = channels_.find(channel);
    if (found == channels_.end()) {
        return OrvelKit::unexpected(ServiceError::notFound("unknown channel"));
    }
    FollowState* follow = findFollow(account, channel);
    if (follow == nullptr) {
        return OrvelKit::unexpected(
            ServiceError::forbidden("the account does not follow this channel"));
    }
    if (found->second.retiredAt) {
        return OrvelKit::unexpected(ServiceError::gone("the channel is retired"));
    }
    return std::pair{&found->second, follow};
}

ServiceResult<ChannelState*> DevService::publishChannel(const KeyState& key,
                                                        std::string_view requestedChannel) {
    if (!requestedChannel.empty() && requestedChannel != key.channel) {
        return OrvelKit::unexpected(
            ServiceError::forbidden("the publish token belongs to another channel"));
    }
    const auto found = channels_.find(key.channel);
    if (found == channels_.end()) {
        return OrvelKit::unexpected(ServiceError::notFound("unknown channel"));
    }
    if (found->second.retiredAt) {
        return OrvelKit::unexpected(ServiceError::gone("the channel is retired"));
    }
    return &found->second;
}

// --- Limits ---------------------------------------------------------------

ServiceResult<void> DevService::checkTexts(const NotificationInput& input) const {
    const auto tooLong = [](std::string_view name, std::size_t limit) {
        return OrvelKit::unexpected(ServiceError::badRequest(
            std::string(name) + " is longer than " + std::to_string(limit) + " characters"));
    };
    const std::pair<const char*, const std::optional<std::string>*> texts[] = {
        {"body", &input.body}, {"details", &input.details}};
    if (textLength(input.title) > limits_.maxTitleChars) {
        return tooLong("title", limits_.maxTitleChars);
    }
    if (input.sender && textLength(*input.sender) > limits_.maxTitleChars) {
        return tooLong("sender", limits_.maxTitleChars);
    }
    for (const auto& [name, text] : texts) {
        if (*text && textLength(**text) > limits_.maxTextChars) {
            return tooLong(name, limits_.maxTextChars);
        }
    }
    for (std::size_t i = 0; i < input.fields.size(); ++i) {
        const auto& field = input.fields[i];
        if (textLength(field.label) + textLength(field.value) > limits_.maxLabelChars) {
            return tooLong("fields[" + std::to_string(i) + "]", limits_.maxLabelChars);
        }
    }
    for (std::size_t i = 0; i < input.links.size(); ++i) {
        const auto& link = input.links[i];
        if (textLength(link.label) + textLength(link.url) > limits_.maxLabelChars) {
            return tooLong("links[" + std::to_string(i) + "]", limits_.maxLabelChars);
        }
    }
    return {};
}

ServiceResult<void> DevService::checkRate(const KeyState& key) {
    const auto retryAfter = publishRate_.take(key.token, now());
    if (retryAfter) {
        return OrvelKit::unexpected(ServiceError::tooManyRequests(
            "too many publishes with this key; try again in " + std::to_string(*retryAfter) + " s",
            *retryAfter));
    }
    return {};
}

// --- Devices and pairing --------------------------------------------------

DeviceCredentials DevService::addDevice(const std::string& accountId) {
    DeviceState device;
    device.token = uniqueId(deviceTokenPrefix, tokenLength,
                            [&](const std::string& t) { return devices_.contains(t); });
    device.accountId = accountId;
    device.createdAt = formatTimestamp(now());
    DeviceCredentials credentials{accountId, device.token};
    pending_.devices.insert(device.token);
    pending_.handsOutSecret = true;
    devices_.emplace(device.token, std::move(device));
    return credentials;
}

ServiceResult<DeviceCredentials> DevService::bootstrap() {
    AccountState account;
    account.id =
        uniqueId("acct_", idLength, [&](const std::string& id) { return accounts_.contains(id); });
    account.createdAt = formatTimestamp(now());
    const std::string id = account.id;
    accounts_.emplace(id, std::move(account));
    pending_.accounts.insert(id);
    return addDevice(id);
}

void DevService::purgeExpiredCodes() {
    const std::uint64_t nowMs = toMillis(now());
    std::erase_if(codes_, [&](const auto& entry) {
        const bool expired = entry.second.expiresAtMs <= nowMs;
        if (expired) {
            pending_.codes.insert(entry.first);
        }
        return expired;
    });
}

ServiceResult<PairingCode> DevService::createPairingCode(std::string_view deviceToken) {
    auto account = deviceAccount(deviceToken);
    if (!account) {
        return OrvelKit::unexpected(account.error());
    }
    purgeExpiredCodes();
    PairingCodeState code;
    do {
        code.code = random_(pairingCodeLength, RandomText::unambiguous);
    } while (codes_.contains(code.code));
    code.accountId = (*account)->id;
    code.expiresAtMs = toMillis(now() + std::chrono::seconds(pairingCodeLifetimeSeconds));
    PairingCode answer{code.code, pairingCodeLifetimeSeconds};
    pending_.codes.insert(code.code);
    pending_.handsOutSecret = true;
    codes_.emplace(code.code, std::move(code));
    return answer;
}

ServiceResult<DeviceCredentials> DevService::redeem(const RedeemBody& body) {
    purgeExpiredCodes();
    const auto found = codes_.find(normalisedCode(body.code));
    if (found == codes_.end()) {
        return OrvelKit::unexpected(
            ServiceError::notFound("unknown, used or expired pairing code"));
    }
    const std::string accountId = found->second.accountId;
    pending_.codes.insert(found->first);
    codes_.erase(found);
    if (!accounts_.contains(accountId)) {
        return OrvelKit::unexpected(
            ServiceError::notFound("unknown, used or expired pairing code"));
    }
    return addDevice(accountId);
}

// --- Channels and keys ----------------------------------------------------

ServiceResult<Engagement> DevService::engage(std::string_view deviceToken, const EngageBody& body) {
    auto account = deviceAccount(deviceToken);
    if (!account) {
        return OrvelKit::unexpected(account.error());
    }
    const auto owned = std::count_if(
        (*account)->follows.begin(), (*account)->follows.end(), [&](const FollowState& f) {
            const auto channel = channels_.find(f.channel);
            return channel != channels_.end() && channel->second.owner == (*account)->id &&
                   !channel->second.retiredAt;
        });
    if (static_cast<std::size_t>(owned) >= limits_.maxChannelsPerAccount) {
        return OrvelKit::unexpected(ServiceError::forbidden(
            "the account owns " + std::to_string(owned) +
            " channels, the most allowed; retire one before creating another"));
    }
    std::string sender = trimmed(body.sender.value_or(""));
    if (sender.empty()) {
        sender = defaultSender;
    }
    if (textLength(sender) > limits_.maxTitleChars) {
        return OrvelKit::unexpected(ServiceError::badRequest(
            "sender is longer than " + std::to_string(limits_.maxTitleChars) + " characters"));
    }
    const std::string created = formatTimestamp(now());

    ChannelState channel;
    channel.id =
        uniqueId("ch_", idLength, [&](const std::string& id) { return channels_.contains(id); });
    channel.owner = (*account)->id;
    channel.createdAt = created;

    KeyState key;
    key.keyId = uniqueId("key_", idLength, [&](const std::string& id) {
        return std::any_of(keys_.begin(), keys_.end(),
                           [&](const auto& k) { return k.second.keyId == id; });
    });
    key.token = uniqueId(publishTokenPrefix, tokenLength,
                         [&](const std::string& t) { return keys_.contains(t); });
    key.channel = channel.id;
    key.sender = sender;
    key.createdAt = created;

    Engagement engagement{channel.id, key.keyId, sender, key.token};
    (*account)->follows.push_back(FollowState{channel.id, 0, {}});
    pending_.accounts.insert((*account)->id);
    pending_.channels.insert(channel.id);
    pending_.keys.insert(key.token);
    pending_.handsOutSecret = true;
    channels_.emplace(channel.id, std::move(channel));
    keys_.emplace(key.token, std::move(key));
    return engagement;
}

ServiceResult<Subscription> DevService::subscribe(std::string_view deviceToken,
                                                  const SubscribeBody& body) {
    auto account = deviceAccount(deviceToken);
    if (!account) {
        return OrvelKit::unexpected(account.error());
    }
    const auto channel = channels_.find(body.channel);
    if (channel == channels_.end()) {
        return OrvelKit::unexpected(ServiceError::notFound("unknown channel"));
    }
    if (channel->second.retiredAt) {
        return OrvelKit::unexpected(ServiceError::gone("the channel is retired"));
    }
    const auto key = keys_.find(body.token);
    if (key == keys_.end() || key->second.channel != body.channel || !isLive(key->second)) {
        return OrvelKit::unexpected(
            ServiceError::forbidden("the token is not a valid publish token of this channel"));
    }
    if (!follows(**account, body.channel)) {
        (*account)->follows.push_back(FollowState{body.channel, 0, {}});
        pending_.accounts.insert((*account)->id);
    }
    return Subscription{body.channel};
}

ServiceResult<KeyRotation> DevService::rotateKey(std::string_view deviceToken,
                                                 const RotateKeyBody& body) {
    auto account = deviceAccount(deviceToken);
    if (!account) {
        return OrvelKit::unexpected(account.error());
    }
    auto channel = ownedChannel(**account, body.channel);
    if (!channel) {
        return OrvelKit::unexpected(channel.error());
    }
    if ((*channel)->retiredAt) {
        return OrvelKit::unexpected(ServiceError::gone("the channel is retired"));
    }

    const TimePoint at = now();
    const std::string created = formatTimestamp(at);
    const TimePoint graceEnd = at + std::chrono::hours(body.graceHours);

    // The new key goes to the sender of the newest key; older keys stop now
    // or at the end of the grace period, whichever they reach first.
    std::string sender(defaultSender);
    std::string newestCreated;
    for (auto& [token, key] : keys_) {
        if (key.channel != body.channel) {
            continue;
        }
        if (key.createdAt >= newestCreated) {
            newestCreated = key.createdAt;
            sender = key.sender;
        }
        if (!isLive(key)) {
            continue;
        }
        pending_.keys.insert(token);
        if (body.graceHours == 0) {
            key.revoked = true;
            key.revokedAt = created;
        } else {
            key.expiresAtMs = std::min(key.expiresAtMs.value_or(UINT64_MAX), toMillis(graceEnd));
        }
    }

    KeyState key;
    key.keyId = uniqueId("key_", idLength, [&](const std::string& id) {
        return std::any_of(keys_.begin(), keys_.end(),
                           [&](const auto& k) { return k.second.keyId == id; });
    });
    key.token = uniqueId(publishTokenPrefix, tokenLength,
                         [&](const std::string& t) { return keys_.contains(t); });
    key.channel = body.channel;
    key.sender = sender;
    key.createdAt = created;

    KeyRotation rotation{body.channel, key.keyId, std::nullopt, sender, key.token};
    if (body.graceHours > 0) {
        rotation.previousKeysExpireAt = formatTimestamp(graceEnd);
    }
    pending_.keys.insert(key.token);
    pending_.handsOutSecret = true;
    keys_.emplace(key.token, std::move(key));
    return rotation;
}

ServiceResult<RenameChannelAck> DevService::renameChannel(std::string_view deviceToken,
                                                          const RenameChannelBody& body) {
    auto account = deviceAccount(deviceToken);
    if (!account) {
        return OrvelKit::unexpected(account.error());
    }
    auto channel = ownedChannel(**account, body.channel);
    if (!channel) {
        return OrvelKit::unexpected(channel.error());
    }
    if ((*channel)->retiredAt) {
        return OrvelKit::unexpected(ServiceError::gone("the channel is retired"));
    }
    std::string name = trimmed(body.name);
    if (name.empty()) {
        return OrvelKit::unexpected(ServiceError::badRequest("the name must not be empty"));
    }
    if ((*channel)->name != name) {
        (*channel)->name = name;
        pending_.channels.insert(body.channel);
    }
    return RenameChannelAck{body.channel, std::move(name)};
}

ServiceResult<RetireAck> DevService::retireChannel(std::string_view deviceToken,
                                                   const RetireChannelBody& body) {
    auto account = deviceAccount(deviceToken);
    if (!account) {
        return OrvelKit::unexpected(account.error());
    }
    auto channel = ownedChannel(**account, body.channel);
    if (!channel) {
        return OrvelKit::unexpected(channel.error());
    }
    // Retiring twice answers with the first retirement, so a retried request succeeds.
    if (!(*channel)->retiredAt) {
        // Its keys stay as they are: every use of them meets the retirement
        // first and is told so (410).
        (*channel)->retiredAt = formatTimestamp(now());
        pending_.channels.insert(body.channel);
    }
    return RetireAck{body.channel, *(*channel)->retiredAt};
}

// --- Reading --------------------------------------------------------------

ServiceResult<SyncResponse> DevService::sync(std::string_view deviceToken, const Cursors& after,
                                             const Cursors& cardsAfter) const {
    auto account = deviceAccount(deviceToken);
    if (!account) {
        return OrvelKit::unexpected(account.error());
    }
    SyncResponse response;
    for (const FollowState& follow : (*account)->follows) {
        const auto found = channels_.find(follow.channel);
        if (found == channels_.end() || found->second.retiredAt) {
            continue;
        }
        const ChannelState& channel = found->second;
        ChannelSync entry;
        entry.channel = channel.id;
        entry.name = channel.name;
        entry.owned = channel.owner == (*account)->id;
        entry.notifications = notificationsAfter(channel, cursorFor(after, channel.id));
        entry.cardUpdates = cardUpdatesAfter(channel, cursorFor(cardsAfter, channel.id));
        entry.latestSeq = latestSeq(channel);
        entry.latestCardSeq = latestCardSeq(channel);
        entry.readSeq = follow.readSeq;
        entry.dismissedSeqs = follow.dismissedSeqs;
        response.channels.push_back(std::move(entry));
    }
    return response;
}

ServiceResult<PullResponse> DevService::pull(std::string_view bearer, std::string_view channel,
                                             std::uint64_t after) const {
    if (bearer.empty()) {
        return OrvelKit::unexpected(ServiceError::unauthorized("missing token"));
    }
    const auto key = keys_.find(bearer);
    const AccountState* account = nullptr;
    if (key == keys_.end()) {
        auto found = deviceAccount(bearer);
        if (!found) {
            return OrvelKit::unexpected(ServiceError::unauthorized("unknown token"));
        }
        account = *found;
    } else if (!isLive(key->second)) {
        return OrvelKit::unexpected(
            ServiceError::unauthorized("publish key " + key->second.keyId + " is no longer valid"));
    }
    const auto found = channels_.find(channel);
    if (found == channels_.end()) {
        return OrvelKit::unexpected(ServiceError::notFound("unknown channel"));
    }
    const bool allowed =
        account != nullptr ? follows(*account, channel) : key->second.channel == channel;
    if (!allowed) {
        return OrvelKit::unexpected(
            ServiceError::forbidden("the token does not give access to this channel"));
    }
    if (found->second.retiredAt) {
        return OrvelKit::unexpected(ServiceError::gone("the channel is retired"));
    }
    return PullResponse{latestSeq(found->second), notificationsAfter(found->second, after)};
}

ServiceResult<ReadAck> DevService::markRead(std::string_view deviceToken, const ReadBody& body) {
    auto account = deviceAccount(deviceToken);
    if (!account) {
        return OrvelKit::unexpected(account.error());
    }
    auto followed = followedChannel(**account, body.channel);
    if (!followed) {
        return OrvelKit::unexpected(followed.error());
    }
    auto [channel, follow] = *followed;
    // A mark beyond the newest update would make later updates arrive read.
    const std::uint64_t target = std::min(body.seq, latestSeq(*channel));
    if (target > follow->readSeq) {
        follow->readSeq = target;
        pending_.accounts.insert((*account)->id);
    }
    return ReadAck{body.channel, follow->readSeq};
}

ServiceResult<DismissAck> DevService::dismiss(std::string_view deviceToken,
                                              const DismissBody& body) {
    auto account = deviceAccount(deviceToken);
    if (!account) {
        return OrvelKit::unexpected(account.error());
    }
    auto followed = followedChannel(**account, body.channel);
    if (!followed) {
        return OrvelKit::unexpected(followed.error());
    }
    auto [channel, follow] = *followed;
    if (body.seq == 0 || body.seq > latestSeq(*channel)) {
        return OrvelKit::unexpected(
            ServiceError::notFound("no update " + std::to_string(body.seq) + " on this channel"));
    }
    auto& seqs = follow->dismissedSeqs;
    const auto at = std::lower_bound(seqs.begin(), seqs.end(), body.seq);
    if (at == seqs.end() || *at != body.seq) {
        seqs.insert(at, body.seq);
        pending_.accounts.insert((*account)->id);
    }
    return DismissAck{body.channel, true, body.seq};
}

// --- Agents ---------------------------------------------------------------

ServiceResult<PublishAck> DevService::publish(std::string_view publishToken,
                                              const NotificationInput& input) {
    auto key = liveKey(publishToken);
    if (!key) {
        return OrvelKit::unexpected(key.error());
    }
    auto channel = publishChannel(**key, input.channel);
    if (!channel) {
        return OrvelKit::unexpected(channel.error());
    }
    if (trimmed(input.title).empty()) {
        return OrvelKit::unexpected(ServiceError::badRequest("the title must not be empty"));
    }
    if (auto checked = checkTexts(input); !checked) {
        return OrvelKit::unexpected(checked.error());
    }
    if (auto allowed = checkRate(**key); !allowed) {
        return OrvelKit::unexpected(allowed.error());
    }
    auto& notifications = (*channel)->notifications;

    Notification n;
    n.attachments = input.attachments;
    n.body = input.body;
    n.channel = (*channel)->id;
    n.color = input.color;
    n.createdAt = formatTimestamp(now());
    n.deliverWhen = input.deliverWhen;
    n.details = input.details;
    n.fields = input.fields;
    n.id = uniqueId("ntf_", idLength, [](const std::string&) { return false; });
    n.kind = input.kind;
    n.links = input.links;
    n.sealed = input.sealed;
    n.sender = input.sender && !input.sender->empty() ? input.sender : (*key)->sender;
    n.seq = latestSeq(**channel) + 1;
    n.status = input.status;
    n.title = input.title;
    n.urgency = input.urgency;

    PublishAck ack{n.channel, n.createdAt, n.id, n.seq};
    pending_.notifications.emplace_back(n.channel, n.seq);
    notifications.push_back(std::move(n));
    return ack;
}

ServiceResult<CardPublishAck> DevService::publishCard(std::string_view publishToken,
                                                      const PersistentCardUpdateInput& input) {
    auto key = liveKey(publishToken);
    if (!key) {
        return OrvelKit::unexpected(key.error());
    }
    auto channel = publishChannel(**key, input.channel);
    if (!channel) {
        return OrvelKit::unexpected(channel.error());
    }
    if (input.cardKey.empty() || input.updateId.empty()) {
        return OrvelKit::unexpected(
            ServiceError::badRequest("card_key and update_id must not be empty"));
    }
    for (const auto& [name, text] :
         {std::pair{"card_key", &input.cardKey}, std::pair{"update_id", &input.updateId}}) {
        if (textLength(*text) > limits_.maxLabelChars) {
            return OrvelKit::unexpected(
                ServiceError::badRequest(std::string(name) + " is longer than " +
                                         std::to_string(limits_.maxLabelChars) + " characters"));
        }
    }
    if (auto allowed = checkRate(**key); !allowed) {
        return OrvelKit::unexpected(allowed.error());
    }

    PersistentCardUpdate update;
    update.cardKey = input.cardKey;
    update.cardSeq = latestCardSeq(**channel) + 1;
    update.channel = (*channel)->id;
    update.createdAt = formatTimestamp(now());
    update.definition = input.definition;
    update.id = uniqueId("card_", idLength, [](const std::string&) { return false; });
    update.operation = input.operation;
    update.updateId = input.updateId;

    CardPublishAck ack{update.cardSeq, update.channel, update.createdAt, update.id};
    pending_.cardUpdates.emplace_back(update.channel, update.cardSeq);
    (*channel)->cardUpdates.push_back(std::move(update));
    return ack;
}

} // namespace OrvelDev
