#include "orvel/cli/JsonReports.h"

#include "orvel/cli/TerminalText.h"
#include "orvelkit/json/Enumeration.h"
#include "orvelkit/presentation/BriefingTexts.h"
#include "orvelkit/time/InternetDateTime.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace Orvel::Cli::JsonReports {

using namespace OrvelKit;

namespace {

// A RapidJSON writer with the few shapes the reports need. Text that is not
// UTF-8 is repaired on the way in, so every document is valid JSON.
class Writer {
public:
    Writer& key(std::string_view name) {
        writer_.Key(name.data(), static_cast<rapidjson::SizeType>(name.size()));
        return *this;
    }
    void string(std::string_view text) {
        const auto valid = withValidUTF8(text);
        writer_.String(valid.data(), static_cast<rapidjson::SizeType>(valid.size()));
    }
    void nullable(const std::optional<std::string>& text) {
        if (text) {
            string(*text);
        } else {
            writer_.Null();
        }
    }
    void date(const std::optional<Date>& date) {
        if (date) {
            string(formatInternetDateTime(*date));
        } else {
            writer_.Null();
        }
    }
    void boolean(bool value) { writer_.Bool(value); }
    void number(std::uint64_t value) { writer_.Uint64(value); }
    template <class E>
    void enumeration(E value) {
        string(OrvelKit::Json::text(value));
    }
    void beginObject() { writer_.StartObject(); }
    void endObject() { writer_.EndObject(); }
    void beginArray() { writer_.StartArray(); }
    void endArray() { writer_.EndArray(); }

    std::string finish() {
        std::string document(buffer_.GetString(), buffer_.GetSize());
        document += '\n';
        return document;
    }

private:
    rapidjson::StringBuffer buffer_;
    rapidjson::Writer<rapidjson::StringBuffer> writer_{buffer_};
};

void writeRow(Writer& w, const AgentRow& row) {
    w.beginObject();
    w.key("id").string(row.id);
    w.key("agent").string(row.agent);
    w.key("summary").string(row.summary);
    w.key("status").enumeration(row.dot);
    w.key("section").enumeration(row.section);
    w.key("relativeTime").string(row.relativeTime);
    w.key("unread").boolean(row.isUnread);
    w.endObject();
}

void writeRows(Writer& w, std::string_view name, const std::vector<AgentRow>& rows) {
    w.key(name).beginArray();
    for (const auto& row : rows) {
        writeRow(w, row);
    }
    w.endArray();
}

} // namespace

std::string status(const StatusReport& report) {
    Writer w;
    w.beginObject();
    w.key("server").string(report.server);
    w.key("paired").boolean(report.paired);
    w.key("accountId").nullable(report.accountId);
    w.key("channels").number(report.channels);
    w.key("ownedChannels").number(report.ownedChannels);
    w.key("updates").number(report.updates);
    w.key("unread").number(report.unread);
    w.key("attention").number(report.attention);
    w.key("unreadAttention").number(report.unreadAttention);
    w.key("emphasis")
        .string(report.emphasis == MenuBarEmphasis::critical ? "critical"
                : report.emphasis == MenuBarEmphasis::high   ? "high"
                                                             : "normal");
    w.key("checked").boolean(report.checked);
    w.key("lastError").nullable(report.lastError);
    w.endObject();
    return w.finish();
}

std::string sync(const SyncReport& report) {
    const auto& briefing = report.briefing;
    Writer w;
    w.beginObject();
    w.key("ok").boolean(!report.error);
    w.key("error").nullable(report.error);
    w.key("updates").number(report.updates);
    w.key("unread").number(report.unread);
    w.key("briefing").beginObject();
    w.key("period").enumeration(briefing.period);
    w.key("scope").enumeration(briefing.scope);
    w.key("eyebrow").string(Presentation::briefingEyebrow(briefing.period).label);
    w.key("headline").string(Presentation::briefingHeadline(briefing));
    w.key("summary").string(Presentation::briefingSummary(briefing));
    writeRows(w, "attention", briefing.attention);
    w.key("transitions").beginArray();
    for (const auto& transition : briefing.transitions) {
        w.beginObject();
        w.key("id").string(transition.id);
        w.key("agent").string(transition.agent);
        w.key("summary").string(transition.summary);
        w.key("relativeTime").string(transition.relativeTime);
        w.key("from").enumeration(transition.from);
        w.key("to").enumeration(transition.to);
        w.endObject();
    }
    w.endArray();
    writeRows(w, "onRadar", briefing.onRadar);
    writeRows(w, "agents", briefing.agents);
    w.key("activity").beginArray();
    for (const auto count : briefing.activity) {
        w.number(count);
    }
    w.endArray();
    w.key("activeCount").number(briefing.activeCount);
    w.key("completedCount").number(briefing.completedCount);
    w.key("backgroundCount").number(briefing.backgroundCount);
    w.key("totalCount").number(briefing.totalCount);
    w.key("updatesInWindow").number(briefing.updatesInWindow);
    w.key("agentsInWindow").number(briefing.agentsInWindow);
    w.endObject();
    w.endObject();
    return w.finish();
}

std::string updates(const UpdatesReport& report) {
    Writer w;
    w.beginObject();
    w.key("filter").enumeration(report.filter);
    writeRows(w, "updates", report.rows);
    w.endObject();
    return w.finish();
}

std::string update(const UpdateDetail& detail) {
    const auto& note = detail.note;
    const auto& row = detail.descriptor;
    Writer w;
    w.beginObject();
    w.key("id").string(note.id);
    w.key("channel").string(note.channel);
    w.key("seq").number(note.seq);
    w.key("title").string(note.title);
    w.key("status").enumeration(detail.row.dot);
    w.key("statusText").nullable(note.status);
    w.key("agent").string(row.sender);
    w.key("createdAt").string(note.createdAt);
    w.key("relativeTime").string(row.relativeTime);
    w.key("urgency").enumeration(note.urgency);
    w.key("accent").enumeration(row.accent);
    w.key("unread").boolean(row.isUnread);
    w.key("dismissed").boolean(detail.dismissed);
    w.key("needsAttention").boolean(detail.needsAttention);
    w.key("pending").boolean(row.isPending);
    w.key("surfacesAt").date(detail.surfacesAt);
    w.key("body").nullable(row.body);
    w.key("details").nullable(row.details);
    w.key("fields").beginArray();
    for (const auto& field : row.fields) {
        w.beginObject();
        w.key("label").string(field.label);
        w.key("value").string(field.value);
        w.endObject();
    }
    w.endArray();
    w.key("links").beginArray();
    for (const auto& link : note.links) {
        w.beginObject();
        w.key("label").string(link.label);
        w.key("url").string(link.url);
        w.endObject();
    }
    w.endArray();
    w.endObject();
    return w.finish();
}

std::string channels(const std::vector<ChannelDescriptor>& channels) {
    Writer w;
    w.beginObject();
    w.key("channels").beginArray();
    for (const auto& channel : channels) {
        w.beginObject();
        w.key("channel").string(channel.channel);
        w.key("name").string(channel.name);
        w.key("owned").boolean(channel.owned);
        w.key("activity").enumeration(channel.activity);
        w.key("detail").string(channel.detail);
        w.key("lastActivityAt").date(channel.lastActivityAt);
        w.key("createdAt").date(channel.createdAt);
        w.endObject();
    }
    w.endArray();
    w.endObject();
    return w.finish();
}

std::string cards(const CardsReport& report) {
    Writer w;
    w.beginObject();
    w.key("cards").beginArray();
    for (const auto& card : report.cards) {
        w.beginObject();
        w.key("id").string(card.id);
        w.key("channel").string(card.channel);
        w.key("cardKey").string(card.cardKey);
        w.key("title").string(card.title);
        w.key("renderer").string(card.renderer);
        w.key("rendererVersion").number(card.rendererVersion);
        w.key("updatedAt").string(card.updatedAt);
        w.key("cardSeq").number(card.cardSeq);
        w.key("pinned").boolean(report.pinned.contains(card.id));
        w.key("fields").beginArray();
        for (const auto& field : card.fields) {
            w.beginObject();
            w.key("id").string(field.id);
            w.key("label").string(field.label);
            w.key("kind").string(field.kind);
            w.key("value").string(field.value);
            w.key("display").string(field.display);
            w.key("unit").nullable(field.unit);
            w.key("currency").nullable(field.currency);
            w.key("tone").nullable(field.tone);
            w.key("role").nullable(field.role);
            w.endObject();
        }
        w.endArray();
        w.endObject();
    }
    w.endArray();
    w.endObject();
    return w.finish();
}

std::string pairing(const OrvelProtocol::PairingCode& code,
                    const std::optional<std::string>& link) {
    Writer w;
    w.beginObject();
    w.key("code").string(code.code);
    w.key("expiresIn").number(code.expiresIn);
    w.key("url").nullable(link);
    w.endObject();
    return w.finish();
}

std::string engagement(const OrvelProtocol::Engagement& engagement,
                       const std::string& instructions) {
    Writer w;
    w.beginObject();
    w.key("channel").string(engagement.channel);
    w.key("keyId").nullable(engagement.keyId);
    w.key("sender").string(engagement.sender);
    w.key("token").string(engagement.token);
    w.key("instructions").string(instructions);
    w.endObject();
    return w.finish();
}

std::string rotation(const OrvelProtocol::KeyRotation& rotation, const std::string& instructions) {
    Writer w;
    w.beginObject();
    w.key("channel").string(rotation.channel);
    w.key("keyId").string(rotation.keyId);
    w.key("sender").string(rotation.sender);
    w.key("token").string(rotation.token);
    w.key("previousKeysExpireAt").nullable(rotation.previousKeysExpireAt);
    w.key("instructions").string(instructions);
    w.endObject();
    return w.finish();
}

} // namespace Orvel::Cli::JsonReports
