#pragma once

// The rules of the development service, without HTTP: accounts and their
// devices, pairing codes, channels with their publish keys, updates and card
// updates, and each account's read marks, dismissals and followed channels.
//
// Every operation checks its bearer token itself and answers with a wire
// record or a ServiceError whose status the HTTP layer sends as it is. What an
// operation changed is collected until takeChanges(), for the store to write.
// Not thread-safe: DevServer serialises all calls.

#include "orvelkit/protocol/Protocol.h"
#include "tools/devserver/DevState.h"
#include "tools/devserver/PublishRate.h"
#include "tools/devserver/RandomText.h"
#include "tools/devserver/ServiceError.h"
#include "tools/devserver/ServiceLimits.h"
#include "tools/devserver/ServiceRecords.h"
#include "tools/devserver/StateChanges.h"
#include "tools/devserver/Timestamps.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace OrvelDev {

using Clock = std::function<TimePoint()>;

// Channel identifier to the last sequence number the caller already holds.
using Cursors = std::map<std::string, std::uint64_t, std::less<>>;

class DevService {
public:
    static constexpr std::uint64_t pairingCodeLifetimeSeconds = 600;
    static constexpr std::size_t pairingCodeLength = 8;
    static constexpr std::string_view defaultSender = "agent";
    static constexpr std::string_view publishTokenPrefix = "orvel_pub_";
    static constexpr std::string_view deviceTokenPrefix = "orvel_dev_";

    // An empty clock reads the system clock.
    explicit DevService(Clock clock = {}, ServiceLimits limits = {});

    // Devices and pairing.
    ServiceResult<OrvelProtocol::DeviceCredentials> bootstrap();
    ServiceResult<OrvelProtocol::PairingCode> createPairingCode(std::string_view deviceToken);
    ServiceResult<OrvelProtocol::DeviceCredentials> redeem(const OrvelProtocol::RedeemBody& body);

    // Channels and keys.
    ServiceResult<OrvelProtocol::Engagement> engage(std::string_view deviceToken,
                                                    const OrvelProtocol::EngageBody& body);
    ServiceResult<OrvelProtocol::Subscription> subscribe(std::string_view deviceToken,
                                                         const OrvelProtocol::SubscribeBody& body);
    ServiceResult<OrvelProtocol::KeyRotation> rotateKey(std::string_view deviceToken,
                                                        const OrvelProtocol::RotateKeyBody& body);
    ServiceResult<OrvelProtocol::RenameChannelAck>
    renameChannel(std::string_view deviceToken, const OrvelProtocol::RenameChannelBody& body);
    ServiceResult<OrvelProtocol::RetireAck>
    retireChannel(std::string_view deviceToken, const OrvelProtocol::RetireChannelBody& body);

    // Reading.
    ServiceResult<OrvelProtocol::SyncResponse>
    sync(std::string_view deviceToken, const Cursors& after, const Cursors& cardsAfter) const;
    // `bearer`: a live publish token of the channel, or the device token of an
    // account that follows it.
    ServiceResult<OrvelProtocol::PullResponse>
    pull(std::string_view bearer, std::string_view channel, std::uint64_t after) const;
    ServiceResult<OrvelProtocol::ReadAck> markRead(std::string_view deviceToken,
                                                   const OrvelProtocol::ReadBody& body);
    ServiceResult<OrvelProtocol::DismissAck> dismiss(std::string_view deviceToken,
                                                     const OrvelProtocol::DismissBody& body);

    // Agents. The token decides the channel: an empty "channel" in the body
    // means the token's channel, and a different one is refused.
    ServiceResult<PublishAck> publish(std::string_view publishToken,
                                      const OrvelProtocol::NotificationInput& input);
    ServiceResult<CardPublishAck>
    publishCard(std::string_view publishToken,
                const OrvelProtocol::PersistentCardUpdateInput& input);

    // Persistence.
    DevState state() const;
    // Replaces all state and forgets the changes not yet taken; on failure (an
    // inconsistent state) nothing changes.
    OrvelKit::Expected<void, std::string> restore(DevState state);
    // The records changed since the last call, and forgets them.
    StateChanges takeChanges();
    bool hasChanges() const;

private:
    // Identifiers of what changed, turned into records by takeChanges().
    struct PendingChanges {
        // A code no longer in codes_ was removed.
        std::set<std::string, std::less<>> accounts, devices, codes, channels, keys;
        std::vector<std::pair<std::string, std::uint64_t>> notifications, cardUpdates;
        bool handsOutSecret = false;
    };

    TimePoint now() const;
    ServiceResult<void> checkTexts(const OrvelProtocol::NotificationInput& input) const;
    ServiceResult<void> checkRate(const KeyState& key);
    std::string uniqueId(std::string_view prefix, std::size_t length,
                         const std::function<bool(const std::string&)>& taken);

    ServiceResult<AccountState*> deviceAccount(std::string_view deviceToken);
    ServiceResult<const AccountState*> deviceAccount(std::string_view deviceToken) const;
    ServiceResult<const KeyState*> liveKey(std::string_view publishToken) const;
    bool isLive(const KeyState& key) const;
    ServiceResult<ChannelState*> ownedChannel(const AccountState& account,
                                              std::string_view channel);
    ServiceResult<std::pair<ChannelState*, FollowState*>> followedChannel(AccountState& account,
                                                                          std::string_view channel);
    ServiceResult<ChannelState*> publishChannel(const KeyState& key,
                                                std::string_view requestedChannel);
    void purgeExpiredCodes();
    OrvelProtocol::DeviceCredentials addDevice(const std::string& accountId);

    Clock clock_;
    ServiceLimits limits_;
    PublishRate publishRate_;
    RandomText random_;
    PendingChanges pending_;

    std::map<std::string, AccountState, std::less<>> accounts_;
    std::map<std::string, DeviceState, std::less<>> devices_;    // by token
    std::map<std::string, PairingCodeState, std::less<>> codes_; // by code
    std::map<std::string, ChannelState, std::less<>> channels_;
    std::map<std::string, KeyState, std::less<>> keys_; // by token
};

} // namespace OrvelDev
