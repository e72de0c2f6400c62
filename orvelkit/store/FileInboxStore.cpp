#include "orvelkit/store/FileInboxStore.h"

#include "orvelkit/store/InboxFile.h"

namespace OrvelKit {

namespace {

std::size_t firstSaveHint(const Inbox& inbox) {
    constexpr std::size_t bytesPerRecord = 512;
    std::size_t records = 0;
    for (const ChannelInbox& channel : inbox.channels()) {
        records += channel.notifications().size() + channel.cardUpdates().size() + 1;
    }
    return records * bytesPerRecord + 4096;
}

} // namespace

FileInboxStore::FileInboxStore(std::filesystem::path file, StoreDiagnosticSink diagnostics)
    : file_(std::move(file), std::move(diagnostics)) {}

Expected<Inbox, FileError> FileInboxStore::load() {
    auto contents = file_.read();
    if (!contents) {
        return unexpected(std::move(contents).error());
    }
    if (!*contents) {
        return Inbox();
    }
    lastSize_ = (*contents)->size();
    // Read where it lies: the buffer keeps zeroed padding after the text.
    const std::string_view text = StoreFile::text(**contents);
    const auto offset = static_cast<std::size_t>(text.data() - (*contents)->data());
    auto inbox = InboxFile::decode(text, (*contents)->capacity() + FileContents::padding - offset);
    if (!inbox) {
        // Decoding errors name keys, types and numbers; the only text of the
        // file they quote is an unknown enumeration case, never a credential.
        file_.reject(inbox.error().description());
        return Inbox();
    }
    return std::move(inbox).value();
}

void FileInboxStore::save(const Inbox& inbox) {
    // A little headroom, so that an inbox that grew a bit since does not make
    // the buffer grow once more at the end. With no file yet (the first sync),
    // a generous guess from the number of records: growing the buffer step by
    // step would leave the smaller ones behind as free memory in the saver
    // thread's heap, which is never given back (tens of megabytes for a long
    // history), while a large buffer is mapped on its own, touched only as
    // far as it is written, and returned when freed.
    const std::size_t hint =
        lastSize_ > 0 ? lastSize_ + lastSize_ / 8 + 4096 : firstSaveHint(inbox);
    auto encoded = InboxFile::encode(
        inbox,
        [&](std::string_view json) {
            if (file_.write(json)) {
                lastSize_ = json.size();
            }
        },
        hint);
    if (!encoded) {
        file_.report(StoreDiagnostic::Event::encodeFailed, encoded.error().description());
    }
}

} // namespace OrvelKit
