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

// The error text starts with `prefix`.
::testing::AssertionResult startsWith(const std::optional<std::string>& text,
                                      std::string_view prefix) {
    if (text && text->starts_with(prefix)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "error " << text.value_or("(none)");
}

using SyncFaults = ReliabilityTest;

TEST_F(SyncFaults, EveryFaultOfTheSyncIsReportedLosesNothingAndIsRecovered) {
    // Every refused status takes the same path; the error text starts so.
    const std::pair<Fault, std::string> cases[] = {
        {Fault::withStatus(503), "http(status: 503)"},
        {Fault::malformedBody(), "decoding(\"malformed JSON: "},
        {Fault::truncatedBody(), "decoding(\"malformed JSON: "},
        // The answer holds six updates; the middle one is broken, and none
        // of the valid ones get in either: decoding is all or nothing.
        {Fault::invalidNotification(), "decoding(\"channels[0].notifications[3].seq: -1 is not "
                                       "an unsigned 64-bit integer\")"},
        {Fault::closeMidBody(), "Transferred a partial file"},
    };
    for (const auto& [fault, error] : cases) {
        SCOPED_TRACE(error);
        publish(6);
        service.faults().set("/sync", fault);
        const auto before = model().now();
        live->refresh();
        EXPECT_TRUE(startsWith(model().lastError(), error));
        // The attempt counts as one: `now` moves on; nothing of the answer is applied.
        EXPECT_GE(model().now(), before);
        EXPECT_EQ(seqsIn(model().inbox()), delivered);
        expectNothingLost();
        expectRecovery();
    }
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
    EXPECT_TRUE(startsWith(model().lastError(), "Timeout was reached"));
    expectNothingLost();
    expectRecovery();
}

using ActionFaults = ReliabilityTest;

TEST_F(ActionFaults, ADismissalWhoseAnswerWasLostIsNotSentAgain) {
    // The service records it; the app only sees a broken answer.
    service.faults().set("/dismiss", Fault::truncatedBody().only(1));
    model().dismiss(idOf(4));
    dismissed.insert(4);
    ASSERT_TRUE(live->runUntil([&] { return model().lastError().has_value(); }));
    EXPECT_TRUE(startsWith(model().lastError(), "Couldn't sync that dismissal: decoding("));
    const auto injected = service.faults().injected();
    // Every later dismissal would fail; the sync must not need one.
    service.faults().set("/dismiss", Fault::withStatus(500));
    publish(1);
    synced();
    EXPECT_EQ(service.faults().injected(), injected);
    expectNothingLost();
}

} // namespace
} // namespace OrvelTest
