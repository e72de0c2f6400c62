// orvel-fuzz-seeds: writes the seed corpus of every fuzz target, built from
// the seeded record generator so the seeds look like what the service, the
// stores and agents really produce. The output is deterministic.
//
//   orvel-fuzz-seeds <corpus directory>   (fuzz/corpus in the source tree)
//
// Each target gets a directory of its own; existing seeds of the same name
// are replaced, others are left alone.

#include "fuzz/WireRecordTypes.h"
#include "orvel/core/FilePreferences.h"
#include "orvelkit/config/AppConfig.h"
#include "orvelkit/inbox/Inbox.h"
#include "orvelkit/store/AtomicFile.h"
#include "orvelkit/store/FileContents.h"
#include "orvelkit/store/InboxFile.h"
#include "tests/support/RecordGenerator.h"

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

class SeedWriter {
public:
    explicit SeedWriter(fs::path root) : root_(std::move(root)) {}

    void write(const std::string& target, const std::string& name, std::string_view contents) {
        const fs::path directory = root_ / target;
        fs::create_directories(directory);
        std::ofstream out(directory / name, std::ios::binary | std::ios::trunc);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        if (!out) {
            std::cerr << "orvel-fuzz-seeds: cannot write " << (directory / name) << '\n';
            failed_ = true;
        }
    }

    template <class Record>
    void writeRecord(const std::string& target, const std::string& name, const Record& record) {
        write(target, name, OrvelKit::Json::encode(record).value());
    }

    bool failed() const { return failed_; }

private:
    fs::path root_;
    bool failed_ = false;
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
    const fs::path scratch = fs::temp_directory_path() / "orvel-fuzz-seeds-preferences.json";
    fs::remove(scratch);
    {
        Orvel::FilePreferences preferences(scratch);
        preferences.set("onlyInterrupt", true);
        preferences.set("lastInboxOpenedAt",
                        OrvelKit::Date::fromMicrosecondsSinceEpoch(1'796'551'200'250'000));
        preferences.set("pinnedCardIds", std::vector<std::string>{"card-a", "card-b"});
        preferences.set("popoverWindowWidth", 500.0);
        preferences.set("popoverWindowSizeVersion", std::int64_t{2});
        preferences.set("notANumber", std::numeric_limits<double>::quiet_NaN());
    }
    auto contents = OrvelKit::readWholeFile(scratch);
    fs::remove(scratch);
    if (contents) {
        out.write("preferences_file", "all-types.json", contents->view());
    }
    out.write("preferences_file", "unknown-entries.json",
              R"({"version":1,"values":{"a":null,"b":{"date":"-0001-02-29T00:00:00Z"},)"
              R"("c":{"double":"-inf"},"d":18446744073709551615}})");
}

void dateSeeds(SeedWriter& out, RecordGenerator& generator) {
    out.write("iso_date", "utc.txt", "2026-12-06T10:15:30Z");
    out.write("iso_date", "offset-fraction.txt", "2026-03-29T02:30:00.123456789+01:00");
    out.write("iso_date", "leap-second.txt", "2016-12-31T23:59:60Z");
    out.write("iso_date", "negative-offset.txt", "0000-01-01T00:00:00-23:59");
    out.write("iso_date", "generated.txt", generator.timestamp(86'400 * 400 + 7));
}

void decimalSeeds(SeedWriter& out) {
    out.write("decimal", "money.txt", "12.50;-0.75");
    out.write("decimal", "exponents.txt", "-3E-2;+4.75e+3");
    out.write("decimal", "bounds.txt", "1e4095;1e-4096");
    out.write("decimal", "zeros.txt", "-0.000;000.0e999");
}

void markdownSeeds(SeedWriter& out) {
    out.write("markdown", "blocks.md",
              "# Deploy\n\nBuild **#481** _passed_ with `2` ~~warnings~~.\n\n"
              "> quoted\n> lines\n\n- one\n- two\n  - nested\n\n3. three\n4. four\n\n"
              "```\ncode <b>\n```\n\n---\nline  \nbreak\n");
    out.write("markdown", "links.md",
              "[report](https://ci.example/481 \"title\") ![chart](https://x/y.png) "
              "<https://a.example/?q=1&r=2> [ref][r] [bad](javascript:alert(1))\n\n"
              "[r]: http://ref.example/\n");
    out.write("markdown", "html.md", "<script>alert(\"x\")</script> &amp; <img src=x> \"q\"");
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
    dateSeeds(out, generator);
    decimalSeeds(out);
    markdownSeeds(out);
    return out.failed() ? 1 : 0;
}
