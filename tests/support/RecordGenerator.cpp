#include "tests/support/RecordGenerator.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace OrvelTest {

using namespace OrvelProtocol;

namespace {

// Mid-2025, in seconds since the epoch: the generated timestamps count from here.
constexpr std::uint64_t baseTime = 1751328000;

const char* const senders[] = {"build-bot", "deploy-agent",    "claude-code", "research-agent",
                               "ci-runner", "backup-daemon",   "pr-reviewer", "data-pipeline",
                               "støttebot", "監視エージェント"};

const char* const subjects[] = {"main",      "release/2.4", "feature/search", "payments-api",
                                "web-app",   "nightly-etl", "staging",        "production",
                                "docs-site", "mobile-ios",  "Zürich cluster", "auth-service"};

const char* const titleFormats[] = {"Build #{n} finished on {s}",
                                    "Deploy to {s} needs approval",
                                    "Tests failed on {s} ({n} failures)",
                                    "Migration {n} running on {s}",
                                    "Review requested: PR #{n} in {s}",
                                    "Backup of {s} completed in {n} s",
                                    "Weekly report for {s} is ready (#{n})",
                                    "\xF0\x9F\x9A\x80 Release {n} shipped to {s}",
                                    "Überprüfung #{n} für {s} abgeschlossen",
                                    "{s}: デプロイ {n} 完了"};

const char* const sentences[] = {
    "All 1,284 tests passed in 6m 12s.",
    "The job retried twice after a timeout talking to the artifact cache.",
    "I need you to confirm the schema change before I apply it to production.",
    "Coverage went from 81.4% to 82.1%; the new parser module is fully covered.",
    "Three flaky tests were quarantined and a ticket was opened for each.",
    "**Action needed:** approve the rollout in the console or reply here.",
    "The p95 latency dropped from 340 ms to 212 ms after the cache change.",
    "See `logs/build-8812.txt` for the full output.",
    "- updated dependencies\n- regenerated the lockfile\n- fixed two lint warnings",
    "Disk usage on the build host is at 87%, consider pruning old images.",
    "I summarised the 14 new papers; two look directly relevant to the ranking work.",
    "The nightly export wrote 2.3 GB across 48 files without errors.",
    "Rollback is ready if anything looks off: run `make rollback TARGET=prod`.",
    "Die Synchronisierung ist abgeschlossen; 312 Datensätze wurden aktualisiert.",
    "Les résultats sont prêts à être relus avant la réunion de demain.",
    "処理は正常に完了しました。詳細はログを確認してください。",
    "Everything is green \xE2\x9C\x85 and the release notes are drafted.",
    "Waiting on the upstream API, which has returned 503 for the last 10 minutes.",
};

const char* const statuses[] = {"need", "running", "done", "failed", "info", "idle"};
const char* const oddStatuses[] = {"blocked", "queued", "Done", "waiting-for-review", ""};
const char* const colors[] = {"#FF8800", "3b82f6", "#10B981", "ef4444", "#8b5cf6", "#ccc"};
const char* const deliverWhens[] = {"immediately", "best_effort", "morning", "next_day", ""};
const char* const fieldLabels[] = {"Spend", "Queue", "Uptime", "Deploys", "Coverage", "Größe"};
const char* const linkLabels[] = {"Open build", "View diff", "Dashboard", "Logs", "Runbook"};
const char* const mimes[] = {"image/png", "image/jpeg", "image/webp", "image/gif"};
const char* const cardKeys[] = {"spend", "queue", "uptime", "deploys", "coverage"};
const char* const cardRenderers[] = {"metric", "metric", "table", "sparkline"};
const char* const fieldKinds[] = {"number", "money", "text", "percent"};
const char* const valueTones[] = {"positive", "negative", "neutral", "warning"};
const char* const units[] = {"ms", "%", "jobs", "GB", "req/s"};
const char* const currencies[] = {"EUR", "USD", "JPY", "CHF"};
const char* const operationKinds[] = {"snapshot", "patch", "delta", "delta", "retract", "reset"};
const char* const base64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Fills the placeholders "{n}" (a number) and "{s}" (a subject) of a pattern.
std::string fill(std::string_view pattern, unsigned number, std::string_view subject) {
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 3, "{n}") == 0) {
            text += std::to_string(number);
            i += 2;
        } else if (pattern.compare(i, 3, "{s}") == 0) {
            text += subject;
            i += 2;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

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

std::string RecordGenerator::identifier(std::string_view prefix, std::size_t hexDigits) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string id(prefix);
    for (std::size_t i = 0; i < hexDigits; ++i) {
        id += hex[below(16)];
    }
    return id;
}

std::string RecordGenerator::channelId() {
    return identifier("ch_", 12);
}

std::string RecordGenerator::timestamp(std::uint64_t offsetSeconds) {
    const std::uint64_t t = baseTime + offsetSeconds;
    const std::uint64_t days = t / 86400;
    const unsigned secondOfDay = static_cast<unsigned>(t % 86400);
    // Civil date from days since 1970-01-01 (Howard Hinnant's algorithm).
    const std::int64_t z = static_cast<std::int64_t>(days) + 719468;
    const std::int64_t era = z / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned day = doy - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2);
    char buffer[40];
    const int length = std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02u:%02u:%02uZ",
                                     static_cast<long long>(year), month, day, secondOfDay / 3600,
                                     secondOfDay / 60 % 60, secondOfDay % 60);
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::string RecordGenerator::prose(std::size_t approxLength) {
    std::string text;
    while (text.size() < approxLength) {
        if (!text.empty()) {
            text += chance(15) ? "\n\n" : " ";
        }
        text += pick(sentences);
    }
    return text;
}

// Texts the encoder has to escape: control characters, quotes, backslashes.
std::string RecordGenerator::quirkyText() {
    static const char* const quirks[] = {
        "path C:\\agents\\out\\report.txt", "she said \"ship it\"",      "tab\tseparated\tcolumns",
        "bell \x07 and escape \x1B[0m",     "line one\r\nline two",      "nul\x01soh\x1F unit sep",
        "a \\\"quoted\\\" backslash",       "form\ffeed and back\bspace"};
    return pick(quirks);
}

std::string RecordGenerator::title() {
    std::string text =
        fill(pick(titleFormats), static_cast<unsigned>(below(10000)), pick(subjects));
    if (chance(2)) {
        text += " — " + quirkyText();
    }
    return text;
}

CardField RecordGenerator::cardField() {
    switch (below(8)) {
    case 0:
        return {"Branch", pick(subjects)};
    case 1:
        return {"Commit", identifier("", 7)};
    case 2:
        return {"Duration", std::to_string(below(600)) + " s"};
    case 3:
        return {"Tests",
                std::to_string(below(1000)) + " passed, " + std::to_string(below(5)) + " failed"};
    case 4:
        return {"Coverage", std::to_string(60 + below(40)) + "." + std::to_string(below(10)) + "%"};
    case 5:
        return {"Cost", "€" + std::to_string(below(300)) + "," + std::to_string(10 + below(90))};
    case 6:
        return {"Größe", std::to_string(below(900)) + " MB"};
    default:
        return {"所要時間", std::to_string(below(60)) + "分"};
    }
}

Link RecordGenerator::link() {
    Link link;
    link.label = pick(linkLabels);
    link.url = "https://ci.example.com/" + std::string(pick(subjects)) + "/runs/" +
               std::to_string(below(100000)) + "?tab=logs&view=full";
    return link;
}

Attachment RecordGenerator::attachment() {
    Attachment attachment;
    attachment.url = "https://files.example.com/a/" + identifier("", 24) + ".png";
    if (chance(50)) {
        attachment.alt = "Screenshot of " + std::string(pick(subjects));
    }
    if (chance(60)) {
        attachment.w = 320 + below(2240);
        attachment.h = 240 + below(1200);
    }
    if (chance(30)) {
        std::string key;
        for (int i = 0; i < 43; ++i) {
            key += base64Alphabet[below(64)];
        }
        attachment.enc = AttachmentEnc{std::move(key), pick(mimes)};
    }
    return attachment;
}

SealedEnvelope RecordGenerator::sealedEnvelope() {
    SealedEnvelope envelope;
    const std::size_t length = 120 + below(320);
    envelope.ct.reserve(length + 2);
    for (std::size_t i = 0; i < length; ++i) {
        envelope.ct += base64Alphabet[below(64)];
    }
    envelope.ct += "==";
    for (int i = 0; i < 44; ++i) {
        envelope.enc += base64Alphabet[below(64)];
    }
    envelope.v = chance(90) ? 1 : 2;
    return envelope;
}

Notification RecordGenerator::notification(std::string_view channel, std::uint64_t seq) {
    Notification n;
    n.channel = channel;
    n.seq = seq;
    n.id = identifier("ntf_", 20);
    n.createdAt = timestamp(seq * 37 + below(30));
    n.title = title();
    const std::uint64_t urgencyRoll = below(100);
    n.urgency = urgencyRoll < 15   ? Urgency::low
                : urgencyRoll < 70 ? Urgency::normal
                : urgencyRoll < 92 ? Urgency::high
                                   : Urgency::critical;
    n.kind = chance(20) ? Kind::card : Kind::message;
    if (chance(90)) {
        n.body = prose(25 + below(150));
        if (chance(3)) {
            *n.body += "\n" + quirkyText();
        }
    }
    if (chance(85)) {
        n.sender = pick(senders);
    }
    if (chance(85)) {
        n.status = chance(95) ? pick(statuses) : pick(oddStatuses);
    }
    if (chance(15)) {
        n.details = prose(30 + below(60));
    }
    if (chance(30)) {
        n.color = pick(colors);
    }
    if (chance(10)) {
        n.deliverWhen = chance(70) ? std::string(pick(deliverWhens)) : timestamp(seq * 37 + 7200);
    }
    if (chance(5)) {
        n.replyTo = identifier("ntf_", 20);
    }
    const std::size_t fieldCount =
        n.kind == Kind::card ? 2 + below(3) : (chance(25) ? 1 + below(3) : 0);
    for (std::size_t i = 0; i < fieldCount; ++i) {
        n.fields.push_back(cardField());
    }
    const std::size_t linkCount = chance(25) ? 1 + below(2) : 0;
    for (std::size_t i = 0; i < linkCount; ++i) {
        n.links.push_back(link());
    }
    const std::size_t attachmentCount = chance(8) ? 1 + below(2) : 0;
    for (std::size_t i = 0; i < attachmentCount; ++i) {
        n.attachments.push_back(attachment());
    }
    if (chance(5)) {
        n.sealed = sealedEnvelope();
    }
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
    const std::size_t fieldCount = 1 + below(4);
    for (std::size_t i = 0; i < fieldCount; ++i) {
        PersistentCardField field;
        field.id = "f" + std::to_string(i);
        field.kind = pick(fieldKinds);
        field.label = pick(fieldLabels);
        if (i == 0 && chance(70)) {
            field.role = "primary";
        } else if (chance(10)) {
            field.role = "secondary";
        }
        definition.fields.push_back(std::move(field));
    }

    PersistentCardOperation& operation = update.operation;
    operation.kind = pick(operationKinds);
    if (operation.kind == "retract") {
        operation.retractUpdateId = identifier("u-", 12);
    } else if (operation.kind == "delta") {
        for (const auto& field : definition.fields) {
            if (chance(60)) {
                operation.deltas.push_back({field.id, (chance(30) ? "-" : "") +
                                                          std::to_string(below(500)) + "." +
                                                          std::to_string(below(100))});
            }
        }
    } else {
        for (const auto& field : definition.fields) {
            if (operation.kind == "patch" && chance(50)) {
                continue;
            }
            PersistentCardValue value;
            value.fieldId = field.id;
            value.kind = field.kind;
            value.value = std::to_string(below(100000)) + "." + std::to_string(below(100));
            value.display = value.value;
            if (field.kind == "money") {
                value.currency = pick(currencies);
                value.display = *value.currency + " " + value.value;
            } else if (chance(40)) {
                value.unit = pick(units);
                value.display += " " + *value.unit;
            }
            if (chance(30)) {
                value.tone = pick(valueTones);
            }
            operation.values.push_back(std::move(value));
        }
    }
    return update;
}

ChannelSync RecordGenerator::channelSync(std::string channel, std::size_t notificationCount,
                                         std::size_t cardUpdateCount, std::uint64_t firstSeq) {
    ChannelSync sync;
    sync.channel = std::move(channel);
    sync.notifications.reserve(notificationCount);
    for (std::size_t i = 0; i < notificationCount; ++i) {
        sync.notifications.push_back(notification(sync.channel, firstSeq + i));
    }
    sync.latestSeq = firstSeq + notificationCount - 1 + (chance(10) ? below(3) : 0);
    sync.readSeq =
        notificationCount == 0 ? sync.latestSeq : firstSeq - 1 + below(notificationCount + 1);
    for (const auto& n : sync.notifications) {
        if (chance(3)) {
            sync.dismissedSeqs.push_back(n.seq);
        }
    }
    for (std::size_t i = 0; i < cardUpdateCount; ++i) {
        sync.cardUpdates.push_back(cardUpdate(sync.channel, i + 1));
    }
    sync.latestCardSeq = cardUpdateCount;
    if (chance(80)) {
        sync.name = std::string(pick(subjects)) + " updates";
    }
    if (chance(70)) {
        sync.owned = chance(80);
    }
    return sync;
}

SyncResponse RecordGenerator::syncResponse(std::size_t notificationCount,
                                           std::size_t channelCount) {
    channelCount = std::max<std::size_t>(channelCount, 1);
    SyncResponse response;
    response.channels.reserve(channelCount);
    for (std::size_t c = 0; c < channelCount; ++c) {
        const std::size_t count =
            notificationCount / channelCount + (c < notificationCount % channelCount ? 1 : 0);
        response.channels.push_back(channelSync(channelId(), count, count / 40, 1 + below(5000)));
    }
    return response;
}

} // namespace OrvelTest
