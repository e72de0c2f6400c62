// The inbox file ("inbox.json") as FileInboxStore reads it: what loads must
// save and load again as the same inbox.

#include "fuzz/FuzzCheck.h"
#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/store/InboxFile.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace OrvelKit;
    auto inbox = InboxFile::decode(OrvelFuzz::text(data, size));
    if (!inbox) {
        return 0;
    }
    // What the app reads from a loaded inbox before its first sync.
    (void)inbox->syncCursors();
    (void)inbox->cardSyncCursors();
    (void)inbox->dismissedSequences();
    (void)inbox->totalUnread();

    std::string file;
    const auto written = InboxFile::encode(*inbox, [&](std::string_view json) { file = json; });
    FUZZ_CHECK(written);
    auto loaded = InboxFile::decode(file);
    FUZZ_CHECK(loaded);
    FUZZ_CHECK(*loaded == *inbox);

    inbox->markAllRead();
    for (const auto& channel : inbox->channels()) {
        FUZZ_CHECK(channel.lastReadSeq() >= channel.cursor());
    }
    return 0;
}
