// The inbox file ("inbox.json") as FileInboxStore reads it: what loads must
// save and load again as the same inbox. Whatever it holds (the service's
// texts, timestamps, colours, card values) then goes through what the screens
// compute from an inbox.

#include "fuzz/RecordRoundTrip.h"
#include "orvelkit/config/AppConfig.h"
#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/presentation/ActivityDayDescriptor.h"
#include "orvelkit/presentation/ChannelDescriptor.h"
#include "orvelkit/presentation/MenuBarIndicator.h"
#include "orvelkit/presentation/PersistentCardDescriptor.h"
#include "orvelkit/presentation/SmartBriefing.h"
#include "orvelkit/presentation/Triage.h"

namespace {

void present(const OrvelKit::Inbox& inbox) {
    using namespace OrvelKit;
    static const Calendar calendar("Europe/Berlin", "de_DE");
    const Date now = Date::fromSecondsSinceEpoch(1'796'551'200);
    (void)Presentation::triaged(inbox, now);
    (void)Presentation::smartBriefing(inbox, now, now.addingSeconds(-86'400), calendar);
    (void)Presentation::activityDays(inbox, now, calendar);
    (void)Presentation::persistentCards(inbox, "de_DE");
    (void)Presentation::channels(AppConfig{}, inbox, now);
    (void)Presentation::menuBarIndicator(inbox, now, calendar);
}

} // namespace

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

    OrvelFuzz::checkInboxFileRoundTrip(*inbox);
    present(*inbox);

    inbox->markAllRead();
    for (const auto& channel : inbox->channels()) {
        FUZZ_CHECK(channel.lastReadSeq() >= channel.cursor());
    }
    return 0;
}
