#pragma once

// The wire records the record fuzz target reads, in a fixed order: the first
// byte of an input (modulo the count) names one. The seed generator writes
// its seeds with the same numbering, so only append to this list.

#include "orvelkit/protocol/Protocol.h"

#include <tuple>

namespace OrvelFuzz {

using namespace OrvelProtocol;

using WireRecordTypes =
    std::tuple<Notification, PersistentCardUpdate, ChannelSync, PullResponse,
               PersistentCardPullResponse, NotificationInput, PersistentCardUpdateInput,
               SealedContent, DeviceCredentials, ClaimedCredentials, PairingCode, OfferAck,
               Engagement, Subscription, KeyRotation, KeyInfo, KeyList, RevokeAck, ReadAck,
               DismissAck, RenameChannelAck, RetireAck, PushRegistration, PushAck, VaultItem,
               VaultList, EmptyBody, RedeemBody, SubscribeBody, EngageBody, RotateKeyBody,
               RenameChannelBody, RetireChannelBody, ReadBody, DismissBody, AttachmentUpload>;

} // namespace OrvelFuzz
