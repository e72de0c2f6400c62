#include "orvel/cli/TextReports.h"

#include "orvelkit/json/Enumeration.h"
#include "orvelkit/presentation/BriefingTexts.h"
#include "orvelkit/presentation/DeliveryTiming.h"
#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/presentation/Triage.h"

namespace Orvel::Cli::TextReports {

using namespace OrvelKit;
using Tone = Style::Tone;
using Cell = Table::Cell;

namespace {

std::string statusWord(StatusDot dot) {
    return std::string(OrvelKit::Json::text(dot));
}

std::vector<Cell> rowCells(const AgentRow& row) {
    return {
        Cell{row.isUnread ? "*" : "", Tone::bold},
        Cell{statusWord(row.dot), Style::tone(row.dot)},
        Cell{terminalSafe(row.agent), Tone::plain},
        Cell{terminalSafe(row.summary), row.isUnread ? Tone::bold : Tone::plain},
        Cell{row.relativeTime, Tone::dim},
        Cell{terminalSafe(row.id), Tone::dim},
    };
}

void writeSection(std::ostream& out, std::string_view title, const Table& table,
                  const Style& style) {
    if (table.empty()) {
        return;
    }
    out << '\n' << style.bold(title) << '\n';
    table.write(out, style, "  ");
}

std::string yesNo(bool value) {
    return value ? "yes" : "no";
}

// The words of an empty list, as the updates screen has them.
std::string_view filterWord(UpdateFilter filter) {
    switch (filter) {
    case UpdateFilter::all:
        return "activity";
    case UpdateFilter::unread:
        return "unread";
    case UpdateFilter::needsYou:
        return "needs-you";
    case UpdateFilter::running:
        return "running";
    case UpdateFilter::failed:
        return "failed";
    }
    return "activity";
}

std::string plural(std::uint64_t count, std::string_view unit) {
    std::string text = std::to_string(count) + " " + std::string(unit);
    if (count != 1) {
        text += 's';
    }
    return text;
}

// "10 minutes", "90 seconds", "2 hours".
std::string lifetime(std::uint64_t seconds) {
    if (seconds >= 3600 && seconds % 3600 == 0) {
        return plural(seconds / 3600, "hour");
    }
    if (seconds >= 60 && seconds % 60 == 0) {
        return plural(seconds / 60, "minute");
    }
    return plural(seconds, "second");
}

} // namespace

void writeStatus(std::ostream& out, const StatusReport& report, const Style& style) {
    Table table;
    table.add({{"Server:"}, {terminalSafe(report.server)}});
    std::string device = report.paired ? "paired" : "not paired";
    if (report.paired && report.accountId) {
        device += " (account " + terminalSafe(*report.accountId) + ")";
    }
    table.add({{"Device:"}, {device, report.paired ? Tone::plain : Tone::yellow}});
    std::string channels = std::to_string(report.channels);
    if (report.channels > 0) {
        channels += " (" + std::to_string(report.ownedChannels) + " owned)";
    }
    table.add({{"Channels:"}, {channels}});
    table.add({{"Updates:"}, {std::to_string(report.updates)}});
    table.add({{"Unread:"}, {std::to_string(report.unread)}});
    std::string attention = "none";
    Tone attentionTone = Tone::plain;
    if (report.attention > 0) {
        attention = std::to_string(report.attention) + " (" +
                    std::to_string(report.unreadAttention) + " unread)";
        if (report.emphasis == MenuBarEmphasis::critical) {
            attention += ", critical";
            attentionTone = Tone::red;
        } else {
            attentionTone = Tone::yellow;
        }
    }
    table.add({{"Attention:"}, {attention, attentionTone}});
    if (!report.checked) {
        table.add({{"Last error:"}, {"not checked (offline)", Tone::dim}});
    } else if (report.lastError) {
        table.add({{"Last error:"}, {terminalSafe(*report.lastError), Tone::red}});
    } else {
        table.add({{"Last error:"}, {"none"}});
    }
    table.write(out, style);
}

void writeBriefing(std::ostream& out, const SmartBriefing& briefing, const Style& style) {
    const auto eyebrow = Presentation::briefingEyebrow(briefing.period);
    out << style.dim(eyebrow.displayLabel) << '\n';
    out << style.bold(Presentation::briefingHeadline(briefing)) << '\n';
    out << Presentation::briefingSummary(briefing) << '\n';

    Table attention;
    for (const auto& row : briefing.attention) {
        attention.add(rowCells(row));
    }
    writeSection(out, "Needs attention", attention, style);

    Table changed;
    for (const auto& transition : briefing.transitions) {
        changed.add({
            Cell{statusWord(transition.from), Style::tone(transition.from)},
            Cell{"->", Tone::dim},
            Cell{statusWord(transition.to), Style::tone(transition.to)},
            Cell{terminalSafe(transition.agent)},
            Cell{terminalSafe(transition.summary)},
            Cell{transition.relativeTime, Tone::dim},
            Cell{terminalSafe(transition.id), Tone::dim},
        });
    }
    writeSection(out, "What changed", changed, style);

    Table radar;
    for (const auto& row : briefing.onRadar) {
        radar.add(rowCells(row));
    }
    writeSection(out, "On your radar", radar, style);
}

void writeUpdates(std::ostream& out, const UpdatesReport& report, const Style& style) {
    std::string heading = "All activity";
    if (report.filter != UpdateFilter::all) {
        heading += " · ";
        heading += title(report.filter);
    }
    heading += " · " + std::to_string(report.rows.size());
    out << style.bold(heading) << '\n';
    if (report.rows.empty()) {
        out << "No " << filterWord(report.filter) << " updates\n";
        return;
    }
    Table table;
    for (const auto& row : report.rows) {
        table.add(rowCells(row));
    }
    table.write(out, style);
}

void writeUpdate(std::ostream& out, const UpdateDetail& detail, const Calendar& calendar,
                 const Style& style) {
    const auto& note = detail.note;
    const auto& row = detail.descriptor;
    out << style.bold(terminalSafe(row.title)) << '\n';

    Table facts;
    std::string status = statusWord(detail.row.dot);
    if (Presentation::needsYou(note)) {
        status += " · Waiting on you";
    }
    facts.add({{"Status:"}, {status, Style::tone(detail.row.dot)}});
    facts.add({{"From:"},
               {terminalSafe(row.sender) + " on " + terminalSafe(note.channel) + ", update " +
                std::to_string(note.seq)}});
    std::string sent = terminalSafe(note.createdAt);
    if (!row.relativeTime.empty()) {
        sent += " (" + row.relativeTime + ")";
    }
    facts.add({{"Sent:"}, {sent}});
    facts.add({{"Urgency:"},
               {std::string(OrvelKit::Json::text(note.urgency)),
                row.accent == AccentRole::critical  ? Tone::red
                : row.accent == AccentRole::warning ? Tone::yellow
                                                    : Tone::plain}});
    facts.add({{"Unread:"}, {yesNo(row.isUnread)}});
    if (row.isPending) {
        const std::string held =
            detail.surfacesAt ? "held until " + clockTime(*detail.surfacesAt, calendar, false)
                              : "held back";
        facts.add({{"Delivery:"}, {held, Tone::dim}});
    }
    if (detail.dismissed) {
        facts.add({{"Dismissed:"}, {"yes", Tone::dim}});
    }
    facts.write(out, style);

    const bool hasBody = row.body && !row.body->empty();
    out << '\n' << terminalSafe(hasBody ? *row.body : row.title, true) << '\n';
    if (row.details && !row.details->empty()) {
        out << '\n' << terminalSafe(*row.details, true) << '\n';
    }
    if (!row.fields.empty()) {
        Table fields;
        for (const auto& field : row.fields) {
            fields.add({{terminalSafe(field.label), Tone::dim}, {terminalSafe(field.value)}});
        }
        out << '\n';
        fields.write(out, style);
    }
    if (!note.links.empty()) {
        Table links;
        for (const auto& link : note.links) {
            links.add({{terminalSafe(link.label)}, {terminalSafe(link.url), Tone::cyan}});
        }
        out << '\n' << style.bold("Links") << '\n';
        links.write(out, style, "  ");
    }
    if (detail.needsAttention) {
        out << '\n'
            << style.dim("Clear it from your attention with: orvelctl dismiss " +
                         terminalSafe(note.id))
            << '\n';
    }
}

void writeChannels(std::ostream& out, const std::vector<ChannelDescriptor>& channels,
                   const Style& style) {
    if (channels.empty()) {
        out << "No channels yet. Create one with: orvelctl channel create\n";
        return;
    }
    Table table;
    for (const auto& channel : channels) {
        table.add({
            Cell{terminalSafe(channel.channel), Tone::dim},
            Cell{terminalSafe(channel.name), Tone::bold},
            Cell{channel.owned ? "owned" : "following"},
            Cell{terminalSafe(channel.detail)},
        });
    }
    table.write(out, style);
}

void writeCards(std::ostream& out, const CardsReport& report, const Style& style) {
    if (report.cards.empty()) {
        out << "No persistent cards\n";
        return;
    }
    bool first = true;
    for (const auto& card : report.cards) {
        if (!first) {
            out << '\n';
        }
        first = false;
        out << style.bold(terminalSafe(card.title)) << "  " << style.dim(terminalSafe(card.id));
        if (report.pinned.contains(card.id)) {
            out << "  (pinned)";
        }
        out << '\n';
        Table fields;
        for (const auto& field : card.fields) {
            std::string value = terminalSafe(field.display);
            if (field.unit && !field.unit->empty()) {
                value += " " + terminalSafe(*field.unit);
            }
            const bool primary = field.role == "primary";
            fields.add({{terminalSafe(field.label), Tone::dim},
                        {value, primary ? Tone::bold : Tone::plain}});
        }
        fields.write(out, style, "  ");
    }
}

void writePairing(std::ostream& out, const OrvelProtocol::PairingCode& code,
                  const std::optional<std::string>& link, Date now, const Calendar& calendar,
                  const Style& style) {
    out << "Pairing code: " << style.bold(terminalSafe(code.code)) << '\n';
    const auto expiresAt = now.addingSeconds(static_cast<double>(code.expiresIn));
    out << "Expires in " << lifetime(code.expiresIn) << " (at "
        << clockTime(expiresAt, calendar, false) << ").\n";
    if (link) {
        out << "Or open on the other device: " << style.apply(Tone::cyan, terminalSafe(*link))
            << '\n';
    }
}

std::string updateLine(const OrvelProtocol::Notification& note, Date now, const Calendar& calendar,
                       const Style& style) {
    const auto row = Presentation::agentRow(note, true, now);
    const auto created = Presentation::parseISO(note.createdAt);
    std::string status = statusWord(row.dot);
    status.resize(std::max<std::size_t>(status.size(), 7), ' ');
    std::string line = clockTime(created.value_or(now), calendar) + "  " +
                       style.apply(Style::tone(row.dot), status) + "  " +
                       style.bold(terminalSafe(row.agent)) + "  " + terminalSafe(row.summary);
    if (Presentation::isPending(note, now, calendar)) {
        if (const auto surfaces = Presentation::surfaceTime(note, calendar)) {
            line += style.dim("  (held until " + clockTime(*surfaces, calendar, false) + ")");
        }
    }
    return line;
}

std::string cardLine(const PersistentCardDescriptor& card, std::string_view channelName, Date now,
                     const Calendar& calendar, const Style& style) {
    const auto updated = Presentation::parseISO(card.updatedAt);
    std::string status = "card";
    status.resize(7, ' ');
    std::string line = clockTime(updated.value_or(now), calendar) + "  " + status + "  " +
                       style.bold(terminalSafe(channelName)) + "  " + terminalSafe(card.title);
    if (const auto primary = card.primaryField()) {
        line += ": " + terminalSafe(primary->label) + " " + terminalSafe(primary->display);
        if (primary->unit && !primary->unit->empty()) {
            line += " " + terminalSafe(*primary->unit);
        }
    }
    return line;
}

} // namespace Orvel::Cli::TextReports
