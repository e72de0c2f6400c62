#pragma once

// What one DevService operation changed, as the records to write: the store
// turns one StateChanges into one transaction. Records appear in full (an
// account with all of its follows); a channel appears without its updates,
// which come as the new ones only.

#include "tools/devserver/DevState.h"

#include <string>
#include <vector>

namespace OrvelDev {

struct StateChanges {
    std::vector<AccountState> accounts;
    std::vector<DeviceState> devices;
    std::vector<PairingCodeState> pairingCodes;
    std::vector<std::string> removedPairingCodes;
    std::vector<ChannelState> channels; // without notifications and card updates
    std::vector<KeyState> keys;
    std::vector<OrvelProtocol::Notification> notifications;
    std::vector<OrvelProtocol::PersistentCardUpdate> cardUpdates;
    // The operation handed out a token or a pairing code: the client holds
    // something that must not be lost, so the write waits for the disk.
    bool handsOutSecret = false;

    bool empty() const {
        return accounts.empty() && devices.empty() && pairingCodes.empty() &&
               removedPairingCodes.empty() && channels.empty() && keys.empty() &&
               notifications.empty() && cardUpdates.empty();
    }
};

} // namespace OrvelDev
