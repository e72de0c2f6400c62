// How operations fail, and the error values they fail with.

#include "orvelkit/async/EventLoop.h"
#include "orvelkit/client/OrvelClient.h"
#include "orvelkit/http/CurlTransport.h"
#include "tests/support/FakeTransport.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

using namespace OrvelKit;
using OrvelTest::FakeTransport;

namespace {

template <class T>
T run(Task<T> task) {
    EventLoop loop;
    return loop.runUntilComplete(std::move(task));
}

struct FakeService {
    std::shared_ptr<FakeTransport> transport = std::make_shared<FakeTransport>();
    OrvelClient client{"https://orvel.example/api", transport};
};

} // namespace

TEST(OrvelError, DescribesItselfAsItsCaseWithItsPayloadQuoted) {
    EXPECT_EQ(OrvelError::decoding(R"(channels[0]: "x" is \ odd)").description(),
              R"(decoding("channels[0]: \"x\" is \\ odd"))");
    EXPECT_NE(ClientError(OrvelError::http(7)), ClientError(TransportError(7, "Couldn't")));
}

TEST(OrvelClient, AnyStatusBut200FailsWithHttpAndTheBodyIsNotRead) {
    FakeService service;
    for (int status : {204, 401, 0}) {
        service.transport->respond(HTTPResponse{status, R"({"channel":"ch","dismissed":true})"});
        EXPECT_EQ(run(service.client.dismiss("dev-1", "ch", 5)).error(),
                  ClientError(OrvelError::http(status)));
        EXPECT_EQ(run(service.client.sync("dev-1", {}, {})).error(),
                  ClientError(OrvelError::http(status)));
    }
}

TEST(OrvelClient, HealthIsTrueOnlyFor200AndFailsWhenNothingAnswers) {
    FakeService service;
    const std::vector<std::pair<int, bool>> answers = {{200, true}, {503, false}};
    for (auto [status, healthy] : answers) {
        service.transport->respond(HTTPResponse{status, "not json"});
        auto health = run(service.client.health());
        ASSERT_TRUE(health.hasValue()) << health.error();
        EXPECT_EQ(*health, healthy) << status;
    }
    EXPECT_TRUE(service.transport->requests().back().headers.empty());

    const TransportError offline(CURLE_COULDNT_RESOLVE_HOST, "Couldn't resolve host name");
    service.transport->respond(unexpected(offline));
    auto health = run(service.client.health());
    ASSERT_FALSE(health);
    EXPECT_EQ(health.error(), ClientError(offline)) << "passed up unchanged";
}

// How trailing slashes join is checked on the wire (OrvelClientWireTests.cpp).
TEST(OrvelClient, AnEndpointOrTextThatCannotBeFormedFailsBeforeAnythingIsSent) {
    for (const std::string base : {"", "orvel.example", "http://[::1"}) {
        EXPECT_EQ(OrvelClient(base, nullptr).endpoint("sync"), unexpected(OrvelError::badURL()))
            << base;
    }
    FakeService service;
    const OrvelClient broken("https://orvel example", service.transport);
    EXPECT_EQ(run(broken.sync("dev-1", {}, {})).error(), ClientError(OrvelError::badURL()));
    const std::string invalid = "ch\xff";
    EXPECT_EQ(run(service.client.pull(invalid, "pub", 1)).error(),
              ClientError(OrvelError::badURL()));
    EXPECT_EQ(run(service.client.sync("dev-1", {}, {{invalid, 1}})).error(),
              ClientError(OrvelError::badURL()));
    auto renamed = run(service.client.renameChannel("dev-1", "ch", invalid));
    ASSERT_FALSE(renamed);
    EXPECT_TRUE(renamed.error().encodeError()) << renamed.error();
    EXPECT_TRUE(service.transport->requests().empty());

    // "?" stays as it is inside a query, but not inside a path.
    ASSERT_TRUE(run(service.client.sync("dev-1", {{"q?r", 2}}, {})).error().orvelError());
    ASSERT_TRUE(run(service.client.pull("q?r", "pub", 2)).error().orvelError());
    const auto requests = service.transport->requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].url, "https://orvel.example/api/sync?after=q?r:2");
    EXPECT_EQ(requests[1].url, "https://orvel.example/api/c/q%3Fr/pull?after=2");
}
