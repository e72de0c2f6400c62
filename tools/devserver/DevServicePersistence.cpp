// DevService's persistence: the whole state as records (for state files and
// imports), restoring it, and the changes of each operation for the store.

#include "tools/devserver/DevService.h"

#include <algorithm>
#include <set>

namespace OrvelDev {

using namespace OrvelProtocol;

DevState DevService::state() const {
    DevState state;
    for (const auto& [id, account] : accounts_) {
        state.accounts.push_back(account);
    }
    for (const auto& [token, device] : devices_) {
        state.devices.push_back(device);
    }
    for (const auto& [code, pending] : codes_) {
        state.pairingCodes.push_back(pending);
    }
    for (const auto& [id, channel] : channels_) {
        state.channels.push_back(channel);
    }
    for (const auto& [token, key] : keys_) {
        state.keys.push_back(key);
    }
    return state;
}

OrvelKit::Expected<void, std::string> DevService::restore(DevState state) {
    using OrvelKit::unexpected;
    if (state.version != DevState::currentVersion) {
        return unexpected("unsupported state version " + std::to_string(state.version));
    }
    decltype(accounts_) accounts;
    decltype(devices_) devices;
    decltype(codes_) codes;
    decltype(channels_) channels;
    decltype(keys_) keys;

    for (auto& channel : state.channels) {
        for (std::size_t i = 0; i < channel.notifications.size(); ++i) {
            const auto& n = channel.notifications[i];
            if (n.channel != channel.id || (i > 0 && n.seq <= channel.notifications[i - 1].seq)) {
                return unexpected("channel " + channel.id + ": updates out of order");
            }
        }
        for (std::size_t i = 0; i < channel.cardUpdates.size(); ++i) {
            const auto& u = channel.cardUpdates[i];
            if (u.channel != channel.id ||
                (i > 0 && u.cardSeq <= channel.cardUpdates[i - 1].cardSeq)) {
                return unexpected("channel " + channel.id + ": card updates out of order");
            }
        }
        const std::string id = channel.id;
        if (!channels.emplace(id, std::move(channel)).second) {
            return unexpected("channel " + id + " appears twice");
        }
    }
    for (auto& account : state.accounts) {
        std::set<std::string> seen;
        for (const auto& follow : account.follows) {
            if (!channels.contains(follow.channel) || !seen.insert(follow.channel).second) {
                return unexpected("account " + account.id + ": bad followed channel");
            }
            if (!std::is_sorted(follow.dismissedSeqs.begin(), follow.dismissedSeqs.end())) {
                return unexpected("account " + account.id + ": dismissals out of order");
            }
        }
        const std::string id = account.id;
        if (!accounts.emplace(id, std::move(account)).second) {
            return unexpected("account " + id + " appears twice");
        }
    }
    for (const auto& [id, channel] : channels) {
        if (!accounts.contains(channel.owner)) {
            return unexpected("channel " + id + ": unknown owner");
        }
    }
    for (auto& device : state.devices) {
        if (!accounts.contains(device.accountId)) {
            return unexpected("a device of an unknown account");
        }
        const std::string token = device.token;
        if (!devices.emplace(token, std::move(device)).second) {
            return unexpected("a device token appears twice");
        }
    }
    for (auto& code : state.pairingCodes) {
        const std::string text = code.code;
        if (!accounts.contains(code.accountId) || !codes.emplace(text, std::move(code)).second) {
            return unexpected("bad pairing code");
        }
    }
    for (auto& key : state.keys) {
        if (!channels.contains(key.channel)) {
            return unexpected("key " + key.keyId + ": unknown channel");
        }
        const std::string token = key.token;
        if (!keys.emplace(token, std::move(key)).second) {
            return unexpected("a publish token appears twice");
        }
    }

    accounts_ = std::move(accounts);
    devices_ = std::move(devices);
    codes_ = std::move(codes);
    channels_ = std::move(channels);
    keys_ = std::move(keys);
    pending_ = {};
    return {};
}

bool DevService::hasChanges() const {
    return !pending_.accounts.empty() || !pending_.devices.empty() || !pending_.codes.empty() ||
           !pending_.channels.empty() || !pending_.keys.empty() ||
           !pending_.notifications.empty() || !pending_.cardUpdates.empty();
}

StateChanges DevService::takeChanges() {
    StateChanges changes;
    for (const auto& id : pending_.accounts) {
        changes.accounts.push_back(accounts_.at(id));
    }
    for (const auto& token : pending_.devices) {
        changes.devices.push_back(devices_.at(token));
    }
    for (const auto& code : pending_.codes) {
        const auto found = codes_.find(code);
        if (found == codes_.end()) {
            changes.removedPairingCodes.push_back(code);
        } else {
            changes.pairingCodes.push_back(found->second);
        }
    }
    for (const auto& id : pending_.channels) {
        const ChannelState& channel = channels_.at(id);
        ChannelState row;
        row.id = channel.id;
        row.name = channel.name;
        row.owner = channel.owner;
        row.createdAt = channel.createdAt;
        row.retiredAt = channel.retiredAt;
        changes.channels.push_back(std::move(row));
    }
    for (const auto& token : pending_.keys) {
        changes.keys.push_back(keys_.at(token));
    }
    // Sequence numbers start at 1 without gaps, so seq N sits at index N - 1.
    for (const auto& [id, seq] : pending_.notifications) {
        changes.notifications.push_back(channels_.at(id).notifications.at(seq - 1));
    }
    for (const auto& [id, cardSeq] : pending_.cardUpdates) {
        changes.cardUpdates.push_back(channels_.at(id).cardUpdates.at(cardSeq - 1));
    }
    changes.handsOutSecret = pending_.handsOutSecret;
    pending_ = {};
    return changes;
}

} // namespace OrvelDev
