// The sync answer: decoded, written back, merged into an inbox that already
// holds state, and the merged inbox written to and read from its file form.

#include "fuzz/FuzzCheck.h"
#include "fuzz/RecordRoundTrip.h"
#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/protocol/Protocol.h"
#include "orvelkit/store/InboxFile.h"

#include <string>

namespace {

using namespace OrvelKit;

// A local inbox as the app would hold it before the answer arrives.
Inbox startingInbox() {
    OrvelProtocol::Notification note;
    note.channel = "ch_alpha";
    note.seq = 3;
    note.id = "n3";
    note.title = "Build finished";
    note.createdAt = "2026-12-06T09:00:00Z";
    Inbox inbox;
    inbox.merge("ch_alpha", {note}, 5);
    inbox.dismiss("ch_alpha", 3);
    return inbox;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto response =
        OrvelFuzz::decodeAndRoundTrip<OrvelProtocol::SyncResponse>(OrvelFuzz::text(data, size));
    if (!response) {
        return 0;
    }

    Inbox inbox = startingInbox();
    const auto cursorsBefore = inbox.syncCursors();
    ChannelSequenceSets serviceDismissals;
    for (const auto& record : response->channels) {
        serviceDismissals[record.channel] =
            SequenceSet(record.dismissedSeqs.begin(), record.dismissedSeqs.end());
    }
    (void)inbox.pendingDismissals(serviceDismissals);
    inbox.applySync(response->channels);

    // Cursors of the channels that stay only move forward.
    for (const auto& [channel, cursor] : inbox.syncCursors()) {
        const auto before = cursorsBefore.find(channel);
        FUZZ_CHECK(before == cursorsBefore.end() || cursor >= before->second);
    }
    (void)inbox.all();
    (void)inbox.allCardUpdates();
    (void)inbox.totalUnread();

    // What was merged must survive a save and a load unchanged.
    std::string file;
    const auto written = InboxFile::encode(inbox, [&](std::string_view json) { file = json; });
    FUZZ_CHECK(written);
    auto loaded = InboxFile::decode(file);
    FUZZ_CHECK(loaded);
    FUZZ_CHECK(*loaded == inbox);
    return 0;
}
