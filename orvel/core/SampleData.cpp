#include "orvel/core/SampleData.h"

#include "orvelkit/time/InternetDateTime.h"

#include <optional>
#include <string>
#include <vector>

namespace Orvel::SampleData {

namespace {

using OrvelProtocol::Notification;
using OrvelProtocol::PersistentCardUpdate;

constexpr double minute = 60;
constexpr double hour = 60 * minute;

struct SampleUpdate {
    const char* channel;
    const char* id;
    std::uint64_t seq;
    const char* sender;
    const char* title;
    const char* body; // null: no body
    const char* status;
    double ageSeconds;
};

// In merge order, which is also the order of the channels.
const SampleUpdate sampleUpdates[] = {
    {"codex-daily", "s1", 3, "Codex · daily-sync", "Merge conflict in specs/ — needs your call",
     "Tandem and Codex both rewrote the rate-limit block; one conflict left in specs/api.md.",
     "need", 2 * minute},
    {"claude", "s2", 2, "Claude Cowork", "Waiting to send the Northwind email",
     "A follow-up to Northwind is drafted and waiting for your ok before it sends.", "need",
     9 * minute},
    {"ci", "s3", 5, "CI · Orvel", "Build failed on main", "swift build failed.", "failed",
     14 * minute},
    {"analytics", "s4", 1, "Analytics", "Signups up 38% this week", nullptr, "info", 1 * hour},
    {"research", "s5-old", 1, "Research", "Researching the market", nullptr, "running", 8 * hour},
    {"research", "s5", 2, "Research", "Report ready in Google Docs", nullptr, "done", 6 * hour},
    {"cron", "s6", 1, "Cron", "Nightly backup ok", nullptr, "idle", 7 * hour},
};

std::string timeBefore(OrvelKit::Date now, double seconds) {
    return OrvelKit::formatInternetDateTime(now.addingSeconds(-seconds));
}

Notification makeUpdate(const SampleUpdate& sample, OrvelKit::Date now) {
    Notification note;
    note.channel = sample.channel;
    note.id = sample.id;
    note.seq = sample.seq;
    note.sender = sample.sender;
    note.title = sample.title;
    if (sample.body) {
        note.body = sample.body;
    }
    note.status = sample.status;
    note.createdAt = timeBefore(now, sample.ageSeconds);
    note.kind = OrvelProtocol::Kind::message;
    note.urgency = OrvelProtocol::Urgency::normal;
    return note;
}

OrvelProtocol::PersistentCardDefinition solvedTicketsCard() {
    OrvelProtocol::PersistentCardDefinition definition;
    definition.title = "OSS tickets solved";
    definition.renderer = "metric";
    definition.rendererVersion = 1;
    definition.fields = {{"count", "number", "Solved", "primary"}};
    return definition;
}

std::vector<PersistentCardUpdate> solvedTicketsUpdates(OrvelKit::Date now) {
    PersistentCardUpdate snapshot;
    snapshot.id = "card-snapshot";
    snapshot.cardKey = "oss-tickets-solved";
    snapshot.cardSeq = 1;
    snapshot.channel = "cron";
    snapshot.createdAt = timeBefore(now, 2 * hour);
    snapshot.definition = solvedTicketsCard();
    snapshot.updateId = "oss:weekly-snapshot";
    snapshot.operation.kind = "snapshot";
    OrvelProtocol::PersistentCardValue count;
    count.fieldId = "count";
    count.kind = "number";
    count.value = "5";
    count.display = "5";
    count.unit = "issues";
    snapshot.operation.values = {count};

    PersistentCardUpdate delta;
    delta.id = "card-delta";
    delta.cardKey = "oss-tickets-solved";
    delta.cardSeq = 2;
    delta.channel = "cron";
    delta.createdAt = timeBefore(now, 30 * minute);
    delta.definition = solvedTicketsCard();
    delta.updateId = "linear:ORV-142:shipped";
    delta.operation.kind = "delta";
    delta.operation.deltas = {{"count", "1"}};

    return {snapshot, delta};
}

} // namespace

OrvelKit::Inbox inbox(OrvelKit::Date now) {
    OrvelKit::Inbox sample;
    for (const SampleUpdate& update : sampleUpdates) {
        sample.merge(update.channel, {makeUpdate(update, now)}, update.seq);
    }
    sample.mergeCardUpdates("cron", solvedTicketsUpdates(now), 2);
    return sample;
}

} // namespace Orvel::SampleData
