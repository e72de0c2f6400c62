// orvel-fuzz-seeds: writes the seed corpus of every fuzz target, built from
// the seeded record generator so the seeds look like what the service, the
// stores and agents really produce. The output is deterministic.
//
//   orvel-fuzz-seeds <corpus directory>   (fuzz/corpus in the source tree)
//
// Each target gets a directory of its own; existing seeds of the same name
// are replaced, others are left alone. Seeds that are plain text (dates,
// decimals, Markdown, unusual preference entries) are written by hand in the
// corpus; this writes the ones built from records.

#include "fuzz/WireRecordTypes.h"
#include "orvel/core/FilePreferences.h"
#include "orvelkit/config/AppConfig.h"
#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/store/InboxFile.h"
#include "tests/support/RecordGenerator.h"
#include "tests/support/TemporaryDirectory.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <tuple>
#include <utility>

namespace {

namespace fs = std::filesystem;
using namespace OrvelProtocol;
using OrvelTest::RecordGenerator;

struct SeedWriter {
    fs::path root;
    bool failed = false;

    void write(const std::string& target, const std::string& name, std::string_view contents) {
        fs::create_directories(root / target);
        std::ofstream out(root / target / name, std::ios::binary | std::ios::trunc);
        if (!out.write(contents.data(), static_cast<std::streamsize>(contents.size()))) {
            std::cerr << "orvel-fuzz-seeds: cannot write " << (root / target / name) << '\n';
            failed = true;
        }
    }
    template <class Record>
    void writeRecord(const std::string& target, const std::string& name, const Record& record) {
        write(target, name, OrvelKit::Json::encode(record).value());
    }
};

// Small answers: a few updates with short texts keep each seed near a kilobyte.
SyncResponse smallSync(RecordGenerator& generator, std::size_t notes, std::size_t channels) {
    auto response = generator.syncResponse(notes, channels);
    for (auto& channel : response.channels) {
        channel.cardUpdates.resize(std::min<std::size_t>(channel.cardUpdates.size(), 1));
    }
    return response;
}

void syncSeeds(SeedWriter& out, RecordGenerator& generator) {
    out.writeRecord("sync_response", "empty.json", SyncResponse{});
    out.writeRecord("sync_response", "one-channel.json", smallSync(generator, 2, 1));
    out.writeRecord("sync_response", "two-channels.json", smallSync(generator, 3, 2));
    auto withCards = SyncResponse{{generator.channelSync("ch_cards", 1, 2, 40)}};
    out.writeRecord("sync_response", "cards.json", withCards);
}

template <class Record>
Record sampleRecord(RecordGenerator& generator) {
    if constexpr (std::is_same_v<Record, Notification>) {
        return generator.notification("ch_seed", 7);
    } else if constexpr (std::is_same_v<Record, PersistentCardUpdate>) {
        return generator.cardUpdate("ch_seed", 3);
    } else if constexpr (std::is_same_v<Record, ChannelSync>) {
        return generator.channelSync("ch_seed", 1, 1, 12);
    } else if constexpr (std::is_same_v<Record, PullResponse>) {
        PullResponse pull;
        pull.notifications = {generator.notification("ch_seed", 4)};
        pull.latestSeq = 4;
        return pull;
    } else {
        return Record{};
    }
}

template <std::size_t... I>
void wireSeeds(SeedWriter& out, RecordGenerator& generator, std::index_sequence<I...>) {
    (
        [&] {
            using Record = std::tuple_element_t<I, OrvelFuzz::WireRecordTypes>;
            std::string seed(1, static_cast<char>(I));
            seed += OrvelKit::Json::encode(sampleRecord<Record>(generator)).value();
            char name[32];
            std::snprintf(name, sizeof name, "record-%02zu.json", I);
            out.write("wire_records", name, seed);
        }(),
        ...);
}

void configSeeds(SeedWriter& out, RecordGenerator& generator) {
    out.writeRecord("config_file", "default.json", OrvelKit::AppConfig{});
    OrvelKit::AppConfig paired;
    paired.serverURL = "http://127.0.0.1:8787";
    paired.deviceToken = "orvel_dev_0123456789abcdef";
    paired.accountId = "acct_42";
    paired.channels = {
        {generator.channelId(), "orvel_pub_aaaaaaaaaaaaaaaa", "2026-12-06T10:00:00Z"},
        {generator.channelId(), "orvel_pub_bbbbbbbbbbbbbbbb", std::nullopt}};
    out.writeRecord("config_file", "paired.json", paired);
}

void inboxSeeds(SeedWriter& out, RecordGenerator& generator) {
    const auto write = [&](const std::string& name, const OrvelKit::Inbox& inbox) {
        auto written = OrvelKit::InboxFile::encode(
            inbox, [&](std::string_view json) { out.write("inbox_file", name, json); });
        if (!written) {
            std::cerr << "orvel-fuzz-seeds: " << written.error() << '\n';
        }
    };
    write("empty.json", OrvelKit::Inbox{});
    OrvelKit::Inbox inbox;
    inbox.applySync(smallSync(generator, 3, 2).channels);
    inbox.dismiss(inbox.channels().front().channel(), 1);
    write("synced.json", inbox);
}

void preferencesSeeds(SeedWriter& out) {
    OrvelTest::TemporaryDirectory scratch;
    {
        Orvel::FilePreferences preferences(scratch / "preferences.json");
        preferences.set("onlyInterrupt", true);
        preferences.set("lastInboxOpenedAt",
                        OrvelKit::Date::fromMicrosecondsSinceEpoch(1'796'551'200'250'000));
        preferences.set("pinnedCardIds", std::vector<std::string>{"card-a", "card-b"});
        preferences.set("popoverWindowWidth", 500.0);
        preferences.set("popoverWindowSizeVersion", std::int64_t{2});
        preferences.set("notANumber", std::numeric_limits<double>::quiet_NaN());
    }
    out.write("preferences_file", "all-types.json",
              OrvelTest::readText(scratch / "preferences.json"));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: orvel-fuzz-seeds <corpus directory>\n";
        return 2;
    }
    SeedWriter out{fs::path(argv[1])};
    RecordGenerator generator(20261206);
    syncSeeds(out, generator);
    wireSeeds(out, generator,
              std::make_index_sequence<std::tuple_size_v<OrvelFuzz::WireRecordTypes>>{});
    configSeeds(out, generator);
    inboxSeeds(out, generator);
    preferencesSeeds(out);
    out.write("iso_date", "generated.txt", generator.timestamp(86'400 * 400 + 7));
    return out.failed ? 1 : 0;
}
