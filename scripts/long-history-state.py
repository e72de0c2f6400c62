#!/usr/bin/env python3
"""Writes a state file for orvel-devserver with a long history, and the
desktop's config.json for it, for measuring memory and start-up.

usage: long-history-state.py UPDATES DIRECTORY PORT

DIRECTORY/devstate.json: one account (device token "dev_token_1") following
up to 20 channels that hold UPDATES updates in all (title, body, sender,
status), read up to half of each channel.
DIRECTORY/data/config.json: the desktop paired as that device with the
service at 127.0.0.1:PORT. Run orvel-devserver --port PORT --state
DIRECTORY/devstate.json and point XDG_DATA_HOME at a directory whose orvel/
holds that config.json.
"""
import datetime
import json
import os
import random
import sys


def timestamp(offset):
    moment = datetime.datetime.fromtimestamp(1751328000 + offset * 30, datetime.timezone.utc)
    return moment.strftime("%Y-%m-%dT%H:%M:%SZ")


def main():
    updates, out, port = int(sys.argv[1]), sys.argv[2], int(sys.argv[3])
    rng = random.Random(20250701)
    words = ("build deploy test review merge agent report queue index cache sync fixed "
             "failed waiting approval release nightly canary rollout metrics").split()
    channel_count = max(1, min(20, updates))
    per_channel = updates // channel_count
    channels, count = [], 0
    for c in range(channel_count):
        channel = "ch_%012x" % rng.getrandbits(48)
        notifications = []
        for seq in range(1, per_channel + 1):
            count += 1
            notifications.append({
                "id": "ntf_%016x" % rng.getrandbits(64), "channel": channel, "seq": seq,
                "created_at": timestamp(count),
                "title": " ".join(rng.choice(words) for _ in range(5)),
                "body": " ".join(rng.choice(words) for _ in range(12)),
                "sender": "agent-%d" % (c % 7),
                "status": rng.choice(["need", "running", "done", "failed", "info", "idle"]),
                "urgency": rng.choice(["low", "normal", "high"])})
        channels.append({"id": channel, "name": "channel %d" % c, "owner": "acc_1",
                         "createdAt": timestamp(0), "notifications": notifications,
                         "cardUpdates": []})
    follows = [{"channel": ch["id"], "readSeq": per_channel // 2, "dismissedSeqs": []}
               for ch in channels]
    state = {"version": 1,
             "accounts": [{"id": "acc_1", "createdAt": timestamp(0), "follows": follows}],
             "devices": [{"token": "dev_token_1", "accountId": "acc_1", "createdAt": timestamp(0)}],
             "pairingCodes": [], "channels": channels, "keys": []}
    os.makedirs(os.path.join(out, "data"), exist_ok=True)
    with open(os.path.join(out, "devstate.json"), "w") as f:
        json.dump(state, f, separators=(",", ":"))
    with open(os.path.join(out, "data", "config.json"), "w") as f:
        json.dump({"serverURL": "http://127.0.0.1:%d/" % port, "channels": [],
                   "deviceToken": "dev_token_1", "accountId": "acc_1"}, f)


if __name__ == "__main__":
    main()
