// What reaches the terminal: agents' text cannot drive it.

#include "orvel/cli/TerminalText.h"
#include "orvel/cli/TextReports.h"

#include <gtest/gtest.h>

namespace {

using namespace Orvel::Cli;
using OrvelKit::Calendar;
using OrvelKit::Date;

TEST(TerminalText, AgentTextCannotControlTheTerminal) {
    // Clearing the screen, an OSC title change, a bell, a C1 CSI and a raw
    // carriage return that would overwrite the line.
    const std::string hostile = "ok\x1b[2J\x1b]0;pwned\x07 \xC2\x9B"
                                "31m\rfake";
    EXPECT_EQ(terminalSafe(hostile),
              "ok\xEF\xBF\xBD[2J\xEF\xBF\xBD]0;pwned\xEF\xBF\xBD \xEF\xBF\xBD"
              "31m fake");

    // One-line fields flatten line breaks and tabs; bodies keep their lines.
    EXPECT_EQ(terminalSafe("a\nb\tc"), "a b c");
    EXPECT_EQ(terminalSafe("a\r\nb\rc\n", true), "a\nb\nc\n");
    // Bytes that are not UTF-8 (a lone continuation, an overlong slash, a
    // surrogate) become the replacement character; real text passes.
    EXPECT_EQ(terminalSafe("\x80/\xC0\xAF\xED\xA0\x80"),
              "\xEF\xBF\xBD/\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(withValidUTF8("a\x1b\xFF"), "a\x1b\xEF\xBF\xBD") << "JSON escapes controls itself";
}

// The plain watch line is Watch.AllPrintsEveryUpdateAndCardAsItArrives's golden.
TEST(TerminalText, AWatchLineFallsBackToTheChannelAndInfo) {
    OrvelProtocol::Notification note;
    note.channel = "ch_ops";
    note.title = "Approve\x1b[2J the deploy";
    note.status = "something else";
    note.createdAt = "2026-12-06T09:58:30Z";
    note.deliverWhen = "morning";
    EXPECT_EQ(TextReports::updateLine(note, Date::fromSecondsSinceEpoch(1'796'551'200),
                                      Calendar("UTC", "en_US"), Style(false)),
              "09:58:30  info     ch_ops  Approve\xEF\xBF\xBD[2J the deploy  (held until 08:00)");
}

} // namespace
