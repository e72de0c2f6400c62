#pragma once

// A paired app model with one channel of its own, five updates synced, one
// of them dismissed and all of them read, each acknowledged by a live
// development service: the starting point of the fault tests. The fixture
// remembers what the model has been given so far and checks that the files
// still hold all of it, and that no error text and no line of the service's
// log ever carried a token.

#include "orvel/core/AppModel.h"
#include "tests/orvel/reliability/LiveModel.h"
#include "tests/support/Records.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/DevServerHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace OrvelTest {

class ReliabilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        LiveModel::writeConfig(directory.path(), service.baseURL());
        startModel();
        live->refresh();
        ASSERT_TRUE(model().config().isPaired()) << model().lastError().value_or("");
        deviceToken = *model().config().deviceToken;

        live->run(model().createEngagement());
        ASSERT_TRUE(model().engagement()) << model().lastError().value_or("");
        channel = model().engagement()->channel;
        publishToken = model().engagement()->token;

        publish(5);
        synced();
        model().dismiss(idOf(2));
        dismissed.insert(2);
        model().markAllRead();
        readMark = 5;
        ASSERT_TRUE(serviceShows([](const OrvelProtocol::ChannelSync& record) {
            return record.readSeq == 5 && record.dismissedSeqs == std::vector<std::uint64_t>{2};
        }));
        ASSERT_FALSE(model().lastError()) << *model().lastError();
    }

    void TearDown() override {
        // For the record (--gtest_output=xml): how much went wrong on purpose.
        RecordProperty("faults_injected", std::to_string(service.faults().injected()));
        std::vector<std::string> secrets = {deviceToken, publishToken};
        secrets.insert(secrets.end(), extraSecrets.begin(), extraSecrets.end());
        const std::string log = service.log();
        for (const auto& secret : secrets) {
            if (secret.empty()) {
                continue;
            }
            for (const auto& error : errorsSeen) {
                EXPECT_EQ(error.find(secret), std::string::npos) << error;
            }
            EXPECT_EQ(log.find(secret), std::string::npos) << "a token in the service's log";
        }
    }

    // (Re)builds the model on the same files, as after a restart.
    void startModel(OrvelKit::CurlTransportOptions options = {}) {
        watch = {};
        live.reset();
        live = std::make_unique<LiveModel>(directory.path(), options);
        watch = model().observe([this](Orvel::ModelField field) {
            if (field == Orvel::ModelField::lastError && model().lastError()) {
                errorsSeen.push_back(*model().lastError());
            }
        });
    }

    Orvel::AppModel& model() { return **live; }

    // Lets the model's background sends run until the service's record of
    // the channel satisfies `check` (at most 20 s).
    bool serviceShows(const std::function<bool(const OrvelProtocol::ChannelSync&)>& check) {
        return live->runUntil([&] {
            const auto record = service.sync(deviceToken);
            return std::any_of(
                record.channels.begin(), record.channels.end(),
                [&](const auto& entry) { return entry.channel == channel && check(entry); });
        });
    }

    // Agents post `count` updates to the channel.
    void publish(int count) {
        for (int i = 0; i < count; ++i) {
            published.push_back(service.publish(publishToken, "Update " + std::to_string(i)));
        }
    }
    // A healthy refresh; every update published so far is then delivered.
    void synced() {
        live->refresh();
        ASSERT_FALSE(model().lastError()) << *model().lastError();
        delivered = published;
    }
    std::string idOf(std::uint64_t seq) {
        for (const auto& note : model().inbox().channel(channel)->notifications()) {
            if (note.seq == seq) {
                return note.id;
            }
        }
        ADD_FAILURE() << "no update " << seq;
        return {};
    }
    std::vector<std::uint64_t> seqsIn(const OrvelKit::Inbox& inbox) const {
        const auto* entry = inbox.channel(channel);
        auto sorted = entry ? seqs(entry->notifications()) : std::vector<std::uint64_t>{};
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }

    // The files hold the configuration and every update, read mark and
    // dismissal the model was given, and the model still agrees with them.
    void expectNothingLost() {
        const auto config = live->savedConfig();
        EXPECT_EQ(config, model().config());
        EXPECT_EQ(config.deviceToken, deviceToken);
        const auto own = std::find_if(config.channels.begin(), config.channels.end(),
                                      [&](const auto& entry) { return entry.channel == channel; });
        ASSERT_NE(own, config.channels.end());
        EXPECT_EQ(own->token, publishToken);

        const auto inbox = live->savedInbox();
        EXPECT_EQ(inbox, model().inbox());
        const auto* entry = inbox.channel(channel);
        ASSERT_NE(entry, nullptr);
        const auto seqs = seqsIn(inbox);
        for (const auto seq : delivered) {
            EXPECT_TRUE(std::binary_search(seqs.begin(), seqs.end(), seq)) << "update " << seq;
        }
        EXPECT_GE(entry->lastReadSeq(), readMark);
        for (const auto seq : dismissed) {
            EXPECT_TRUE(entry->isDismissed(seq)) << "dismissal " << seq;
        }
    }

    // With the faults gone the next refresh brings what was missed and
    // clears the error.
    void expectRecovery() {
        service.faults().clearAll();
        publish(1);
        synced();
        EXPECT_EQ(seqsIn(model().inbox()), published);
        expectNothingLost();
    }

    TemporaryDirectory directory;
    OrvelDev::Testing::RunningServer service;
    std::unique_ptr<LiveModel> live;
    Orvel::Subscription watch;
    std::vector<std::string> errorsSeen;
    std::vector<std::string> extraSecrets;

    std::string deviceToken;
    std::string channel;
    std::string publishToken;
    std::vector<std::uint64_t> published;
    std::vector<std::uint64_t> delivered;
    std::set<std::uint64_t> dismissed;
    std::uint64_t readMark = 0;
};

} // namespace OrvelTest
