// The sync answer: decoded, written back, merged into an inbox that already
// holds state, and the merged inbox written to and read from its file form.

#include "fuzz/RecordRoundTrip.h"
#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/protocol/Protocol.h"
#include "orvelkit/store/InboxFile.h"

namespace {

using namespace OrvelKit;

// A local inbox as the app would hold it before the answer arrives.
Inbox startingInbox() {
    return InboxFile::decode(
               R"({"channels":[{"channel":"ch_alpha","latestSeq":5,"dismissedSeqs":[3],)"
               R"("notifications":[{"channel":"ch_alpha","seq":3,"id":"n3","title":"Build",)"
               R"("created_at":"2026-12-06T09:00:00Z","urgency":"normal"}]}]})")
        .value();
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
    OrvelFuzz::checkInboxFileRoundTrip(inbox);
    return 0;
}
