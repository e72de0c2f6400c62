// A real app model over libcurl against a development service that fails on
// purpose: every fault ends the attempt with the right error text, keeps the
// files whole and the earlier state in them, and the next healthy refresh
// recovers.

#include "tests/orvel/reliability/ReliabilityFixture.h"
#include "tools/devserver/Fault.h"

#include <gtest/gtest.h>

#include <chrono>

namespace OrvelTest {
namespace {

using namespace std::chrono_literals;
using OrvelDev::Fault;

bool startsWith(const std::optional<std::string>& text, std::string_view prefix) {
    return text && text->starts_with(prefix);
}

using SyncFaults = ReliabilityTest;

TEST_F(SyncFaults, ErrorStatusesLoseNothingAndTheNextTickRecovers) {
    for (const int status : {500, 502, 503, 504, 429, 404, 401, 400}) {
        SCOPED_TRACE(status);
        publish(2);
        service.faults().set("/sync", Fault::withStatus(status));
        const auto before = model().now();
        live->refresh();
        EXPECT_EQ(model().lastError(), "http(status: " + std::to_string(status) + ")");
        // The attempt reached the service: `now` moves on.
        EXPECT_GE(model().now(), before);
        expectNothingLost();
        expectRecovery();
    }
}

TEST_F(SyncFaults, BrokenBodiesAreRejectedWhole) {
    publish(3);
    service.faults().set("/sync", Fault::malformedBody());
    live->refresh();
    EXPECT_TRUE(startsWith(model().lastError(), "decoding(\"malformed JSON: "))
        << model().lastError().value_or("");
    expectNothingLost();

    service.faults().set("/sync", Fault::truncatedBody());
    live->refresh();
    EXPECT_TRUE(startsWith(model().lastError(), "decoding(\"malformed JSON: "))
        << model().lastError().value_or("");
    expectNothingLost();
    expectRecovery();
}

TEST_F(SyncFaults, OneInvalidUpdateAmongManyRejectsTheWholeAnswer) {
    publish(6);
    service.faults().set("/sync", Fault::invalidNotification());
    live->refresh();
    // The answer holds updates 6 to 11; the middle one is broken.
    EXPECT_EQ(model().lastError(),
              "decoding(\"channels[0].notifications[3].seq: -1 is not an unsigned 64-bit "
              "integer\")");
    // None of the valid ones got in either: decoding is all or nothing.
    EXPECT_EQ(seqsIn(model().inbox()), delivered);
    expectNothingLost();
    expectRecovery();
}

TEST_F(SyncFaults, ConnectionsClosedMidBodyFailTheAttempt) {
    publish(4);
    service.faults().set("/sync", Fault::closeMidBody());
    live->refresh();
    EXPECT_TRUE(startsWith(model().lastError(), "Transferred a partial file"))
        << model().lastError().value_or("");
    EXPECT_EQ(seqsIn(model().inbox()), delivered);
    expectNothingLost();
    expectRecovery();
}

TEST_F(SyncFaults, AnAnswerLaterThanTheTimeOutFailsTheAttempt) {
    // The same files with a transport that waits one second for data (the
    // app's own waits a minute).
    OrvelKit::CurlTransportOptions impatient;
    impatient.idleTimeout = 1s;
    startModel(impatient);
    publish(2);
    service.faults().set("/sync", Fault::delayed(4s).only(1));
    const auto started = std::chrono::steady_clock::now();
    live->refresh();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 4s);
    EXPECT_TRUE(startsWith(model().lastError(), "Timeout was reached"))
        << model().lastError().value_or("");
    expectNothingLost();
    expectRecovery();
}

TEST_F(SyncFaults, AStartWithEveryEndpointFailingKeepsTheFilesAndRecovers) {
    publish(2);
    service.faults().set("*", Fault::withStatus(503));
    startModel();
    EXPECT_EQ(model().inbox(), live->savedInbox());
    for (int tick = 0; tick < 3; ++tick) {
        live->refresh();
        EXPECT_EQ(model().lastError(), "http(status: 503)");
    }
    model().markAllRead();
    model().dismiss(idOf(4));
    dismissed.insert(4);
    live->settle();
    expectNothingLost();
    expectRecovery();
    EXPECT_TRUE(serviceShows([](const OrvelProtocol::ChannelSync& record) {
        return std::count(record.dismissedSeqs.begin(), record.dismissedSeqs.end(), 4u) == 1;
    }));
}

using ActionFaults = ReliabilityTest;

TEST_F(ActionFaults, FailedDismissalsStayLocalAndAreReplayedByTheNextSync) {
    service.faults().set("/dismiss", Fault::withStatus(500));
    model().dismiss(idOf(3));
    dismissed.insert(3);
    ASSERT_TRUE(live->runUntil([&] { return model().lastError().has_value(); }));
    EXPECT_EQ(model().lastError(), "Couldn't sync that dismissal: http(status: 500)");
    expectNothingLost();

    // A sync while the service still refuses: merged and saved, but the
    // replay fails and says so.
    publish(1);
    live->refresh();
    EXPECT_EQ(model().lastError(), "http(status: 500)");
    delivered = published;
    expectNothingLost();

    expectRecovery();
    EXPECT_EQ(service.sync(deviceToken).channels.at(0).dismissedSeqs,
              (std::vector<std::uint64_t>{2, 3}));
}

TEST_F(ActionFaults, ADismissalWhoseAnswerWasLostIsNotSentAgain) {
    // The service records it; the app only sees a broken answer.
    service.faults().set("/dismiss", Fault::truncatedBody().only(1));
    model().dismiss(idOf(4));
    dismissed.insert(4);
    ASSERT_TRUE(live->runUntil([&] { return model().lastError().has_value(); }));
    EXPECT_TRUE(startsWith(model().lastError(), "Couldn't sync that dismissal: decoding("))
        << model().lastError().value_or("");
    const auto injected = service.faults().injected();
    // Every later dismissal would fail; the sync must not need one.
    service.faults().set("/dismiss", Fault::withStatus(500));
    publish(1);
    synced();
    EXPECT_EQ(service.faults().injected(), injected);
    expectNothingLost();
}

TEST_F(ActionFaults, ReadMarksStayLocalWhenTheServiceCannotTakeThem) {
    publish(3);
    synced();
    service.faults().set("/read", Fault::withStatus(503));
    model().markAllRead();
    readMark = 8;
    live->settle();
    // Read marks are sent quietly: no error text.
    EXPECT_FALSE(model().lastError());
    EXPECT_EQ(model().inbox().channel(channel)->lastReadSeq(), 8u);
    // The service still says 5; the sync keeps the higher local mark.
    synced();
    EXPECT_EQ(model().inbox().channel(channel)->lastReadSeq(), 8u);
    expectNothingLost();
}

TEST_F(ActionFaults, FailedActionsLeaveConfigurationAndInboxAsTheyWere) {
    const auto config = model().config();
    const auto inbox = model().inbox();

    service.faults().set("/engage", Fault::truncatedBody());
    live->run(model().createEngagement());
    EXPECT_TRUE(startsWith(model().lastError(), "Couldn't create channel: decoding("))
        << model().lastError().value_or("");

    service.faults().set("/keys/rotate", Fault::withStatus(503));
    EXPECT_FALSE(live->run(model().rotateKey(channel, 24)));
    EXPECT_EQ(model().lastError(), "Couldn't rotate that channel key: http(status: 503)");

    service.faults().set("/channels/rename", Fault::closeMidBody());
    EXPECT_FALSE(live->run(model().renameChannel(channel, "Renamed")));
    EXPECT_TRUE(startsWith(model().lastError(),
                           "Couldn't update that channel's display name: Transferred a partial"))
        << model().lastError().value_or("");

    service.faults().set("/channels/retire", Fault::withStatus(502));
    EXPECT_FALSE(live->run(model().retireChannel(channel)));
    EXPECT_EQ(model().lastError(), "Couldn't retire that channel: http(status: 502)");

    service.faults().set("/pair/code", Fault::withStatus(500));
    EXPECT_FALSE(live->run(model().makePairingCode()));
    EXPECT_EQ(model().lastError(), "Couldn't create a pairing code: http(status: 500)");

    EXPECT_EQ(model().config(), config);
    EXPECT_EQ(model().inbox(), inbox);
    expectNothingLost();
}

TEST_F(ActionFaults, AFailingRegistrationIsRetriedOnEveryTick) {
    // A second desktop on a fresh directory, while registration fails.
    TemporaryDirectory other;
    LiveModel::writeConfig(other.path(), service.baseURL());
    LiveModel fresh(other.path());
    service.faults().set("/pair/bootstrap", Fault::truncatedBody().only(1));
    service.faults().set("/sync", Fault::withStatus(500));
    fresh.refresh();
    EXPECT_TRUE(startsWith(fresh->lastError(), "Couldn't pair device: decoding("))
        << fresh->lastError().value_or("");
    EXPECT_FALSE(fresh->config().isPaired());
    EXPECT_FALSE(fresh.savedConfig().isPaired());
    // The device the lost answer created is not the one the retry gets.
    fresh.refresh();
    EXPECT_TRUE(fresh->config().isPaired());
    EXPECT_EQ(fresh->lastError(), "http(status: 500)");
    extraSecrets.push_back(*fresh->config().deviceToken);
    EXPECT_EQ(fresh.savedConfig(), fresh->config());
    service.faults().clearAll();
    fresh.refresh();
    EXPECT_FALSE(fresh->lastError());
}

} // namespace
} // namespace OrvelTest
