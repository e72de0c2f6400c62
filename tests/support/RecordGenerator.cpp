#include "tests/support/RecordGenerator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

namespace OrvelTest {

using namespace OrvelProtocol;

namespace {

// Mid-2025, in seconds since the epoch: the generated timestamps count from here.
constexpr std::uint64_t baseTime = 1751328000;

const char* const senders[] = {"build-bot", "claude-code", "støttebot", "監視エージェント"};
const char* const subjects[] = {"main", "payments-api", "production", "Zürich cluster"};
// Each title is a prefix followed by a number and " on " a subject.
const char* const titlePrefixes[] = {"Build #", "Review requested: PR #",
                                     "\xF0\x9F\x9A\x80 Release ", "デプロイ "};
const char* const sentences[] = {
    "All 1,284 tests passed in 6m 12s.",
    "**Action needed:** approve the rollout in the console or reply here.",
    "- updated dependencies\n- regenerated the lockfile\n- fixed two lint warnings",
    "Die Synchronisierung ist abgeschlossen; 312 Datensätze wurden aktualisiert.",
    "処理は正常に完了しました。詳細はログを確認してください。",
};
// Texts the encoder has to escape: control characters, quotes, backslashes.
const char* const quirks[] = {"path C:\\agents\\out\\report.txt", "she said \"ship it\"",
                              "bell \x07 and escape \x1B[0m\r\n", "nul\x01soh\x1F form\ffeed\b"};
const char* const statuses[] = {"need", "running", "done", "failed", "info", "idle"};
const char* const oddStatuses[] = {"blocked", "Done", ""};
const char* const colors[] = {"#FF8800", "3b82f6", "#ccc"};
const char* const deliverWhens[] = {"immediately", "best_effort", "morning", "next_day", ""};
const char* const fieldLabels[] = {"Branch", "Coverage", "Cost", "所要時間"};
const char* const fieldValues[] = {"main", "81.4%", "€12,50", "4分"};
const char* const mimes[] = {"image/png", "image/webp"};
const char* const cardKeys[] = {"spend", "queue", "uptime"};
const char* const cardRenderers[] = {"metric", "metric", "table"};
const char* const fieldKinds[] = {"number", "money", "text", "percent"};
const char* const currencies[] = {"EUR", "JPY"};
const char* const operationKinds[] = {"snapshot", "patch", "delta", "delta", "retract", "reset"};
const char* const base64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

} // namespace

RecordGenerator::RecordGenerator(std::uint64_t seed) : state_(seed) {}

// SplitMix64: small, fast and the same everywhere.
std::uint64_t RecordGenerator::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t RecordGenerator::below(std::uint64_t bound) {
    return next() % bound;
}

bool RecordGenerator::chance(unsigned percent) {
    return below(100) < percent;
}

std::string RecordGenerator::identifier(std::string_view prefix, std::size_t digits,
                                        std::string_view alphabet) {
    std::string id(prefix);
    for (std::size_t i = 0; i < digits; ++i) {
        id += alphabet[below(alphabet.size())];
    }
    return id;
}

std::string RecordGenerator::channelId() {
    return identifier("ch_", 12);
}

std::string RecordGenerator::timestamp(std::uint64_t offsetSeconds) {
    using namespace std::chrono;
    const sys_seconds time{seconds(baseTime + offsetSeconds)};
    const auto day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    char buffer[40];
    const int length = std::snprintf(
        buffer, sizeof buffer, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
        static_cast<int>(clock.seconds().count()));
    return std::string(buffer, static_cast<std::size_t>(length));
}

// A paragraph or a few of `approxLength` bytes or a little more.
std::string RecordGenerator::prose(std::size_t approxLength) {
    std::string text;
    while (text.size() < approxLength) {
        if (!text.empty()) {
            text += chance(15) ? "\n\n" : " ";
        }
        text += pick(sentences);
    }
    return chance(3) ? text + "\n" + pick(quirks) : text;
}

Attachment RecordGenerator::attachment() {
    Attachment attachment;
    attachment.url = "https://files.example.com/a/" + identifier("", 24) + ".png";
    attachment.alt = maybe(50, "Screenshot of " + std::string(pick(subjects)));
    attachment.w = maybe(60, 320 + below(2240));
    attachment.h = maybe(60, 240 + below(1200));
    attachment.enc = maybe(30, AttachmentEnc{identifier("", 43, base64Alphabet), pick(mimes)});
    return attachment;
}

SealedEnvelope RecordGenerator::sealedEnvelope() {
    return {identifier("", 120 + below(320), base64Alphabet) + "==",
            identifier("", 44, base64Alphabet), chance(90) ? 1u : 2u};
}

Notification RecordGenerator::notification(std::string_view channel, std::uint64_t seq) {
    Notification n;
    n.channel = channel;
    n.seq = seq;
    n.id = identifier("ntf_", 20);
    n.createdAt = timestamp(seq * 37 + below(30));
    n.title = pick(titlePrefixes) + std::to_string(below(10000)) + " on " + pick(subjects);
    if (chance(2)) {
        n.title += std::string(" — ") + pick(quirks);
    }
    const std::uint64_t urgencyRoll = below(100);
    n.urgency = urgencyRoll < 15   ? Urgency::low
                : urgencyRoll < 70 ? Urgency::normal
                : urgencyRoll < 92 ? Urgency::high
                                   : Urgency::critical;
    n.kind = chance(20) ? Kind::card : Kind::message;
    n.body = maybe(90, prose(25 + below(150)));
    n.sender = maybe(85, std::string(pick(senders)));
    n.status = maybe(85, std::string(chance(95) ? pick(statuses) : pick(oddStatuses)));
    n.details = maybe(15, prose(30 + below(60)));
    n.color = maybe(30, std::string(pick(colors)));
    n.deliverWhen =
        maybe(10, chance(70) ? std::string(pick(deliverWhens)) : timestamp(seq * 37 + 7200));
    n.replyTo = maybe(5, identifier("ntf_", 20));
    const std::size_t fieldCount =
        n.kind == Kind::card ? 2 + below(3) : (chance(25) ? 1 + below(3) : 0);
    for (std::size_t i = 0; i < fieldCount; ++i) {
        const std::size_t which = below(std::size(fieldLabels));
        n.fields.push_back({fieldLabels[which], fieldValues[which]});
    }
    for (std::size_t i = chance(25) ? 1 + below(2) : 0; i > 0; --i) {
        n.links.push_back({"Open build", "https://ci.example.com/" + std::string(pick(subjects)) +
                                             "/runs/" + std::to_string(below(100000)) +
                                             "?tab=logs&view=full"});
    }
    for (std::size_t i = chance(8) ? 1 + below(2) : 0; i > 0; --i) {
        n.attachments.push_back(attachment());
    }
    n.sealed = maybe(5, sealedEnvelope());
    return n;
}

PersistentCardUpdate RecordGenerator::cardUpdate(std::string_view channel, std::uint64_t cardSeq) {
    PersistentCardUpdate update;
    update.cardKey = pick(cardKeys);
    update.cardSeq = cardSeq;
    update.channel = channel;
    update.createdAt = timestamp(cardSeq * 300 + below(60));
    update.id = identifier("cu_", 20);
    update.updateId = identifier("u-", 12);

    PersistentCardDefinition& definition = update.definition;
    definition.renderer = pick(cardRenderers);
    definition.rendererVersion = chance(80) ? 1 : 2 + below(3);
    definition.title = "Card " + update.cardKey + " · " + pick(subjects);
    for (std::size_t i = 0, count = 1 + below(4); i < count; ++i) {
        const bool primary = i == 0 && chance(70);
        definition.fields.push_back(
            {"f" + std::to_string(i), pick(fieldKinds), pick(fieldLabels),
             primary ? std::optional<std::string>("primary") : std::nullopt});
    }

    PersistentCardOperation& operation = update.operation;
    operation.kind = pick(operationKinds);
    const auto number = [&] {
        return std::to_string(below(100000)) + "." + std::to_string(below(100));
    };
    for (const auto& field : definition.fields) {
        if (operation.kind == "retract" || (operation.kind == "patch" && chance(50))) {
            continue;
        }
        if (operation.kind == "delta") {
            if (chance(60)) {
                operation.deltas.push_back({field.id, (chance(30) ? "-" : "") + number()});
            }
            continue;
        }
        const bool money = field.kind == "money";
        PersistentCardValue value{
            money ? std::optional<std::string>(pick(currencies)) : std::nullopt,
            {},
            field.id,
            field.kind,
            maybe(30, std::string(chance(50) ? "positive" : "warning")),
            money ? std::nullopt : maybe(40, std::string(chance(50) ? "ms" : "%")),
            number()};
        value.display = value.currency.value_or("") + value.value + value.unit.value_or("");
        operation.values.push_back(std::move(value));
    }
    if (operation.kind == "retract") {
        operation.retractUpdateId = identifier("u-", 12);
    }
    return update;
}

ChannelSync RecordGenerator::channelSync(std::string channel, std::size_t notificationCount,
                                         std::size_t cardUpdateCount, std::uint64_t firstSeq) {
    ChannelSync sync;
    sync.channel = std::move(channel);
    for (std::size_t i = 0; i < notificationCount; ++i) {
        sync.notifications.push_back(notification(sync.channel, firstSeq + i));
        if (chance(3)) {
            sync.dismissedSeqs.push_back(firstSeq + i);
        }
    }
    sync.latestSeq = firstSeq + notificationCount - 1 + (chance(10) ? below(3) : 0);
    sync.readSeq =
        notificationCount == 0 ? sync.latestSeq : firstSeq - 1 + below(notificationCount + 1);
    for (std::size_t i = 0; i < cardUpdateCount; ++i) {
        sync.cardUpdates.push_back(cardUpdate(sync.channel, i + 1));
    }
    sync.latestCardSeq = cardUpdateCount;
    sync.name = maybe(80, std::string(pick(subjects)) + " updates");
    sync.owned = maybe(70, chance(80));
    return sync;
}

SyncResponse RecordGenerator::syncResponse(std::size_t notificationCount,
                                           std::size_t channelCount) {
    channelCount = std::max<std::size_t>(channelCount, 1);
    SyncResponse response;
    for (std::size_t c = 0; c < channelCount; ++c) {
        const std::size_t count =
            notificationCount / channelCount + (c < notificationCount % channelCount ? 1 : 0);
        response.channels.push_back(channelSync(channelId(), count, count / 40, 1 + below(5000)));
    }
    return response;
}

} // namespace OrvelTest
