// Latency of the service client against the in-process development service
// holding 10 channels and 1,000 updates: 1,000 sequential full syncs, the
// same exchange through a bare libcurl handle (the socket's share), and the
// client's own work per call with the network taken out.

#include "orvelkit/async/EventLoop.h"
#include "orvelkit/client/OrvelClient.h"
#include "orvelkit/http/CurlTransport.h"
#include "orvelkit/protocol/Protocol.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/RecordGenerator.h"
#include "tools/devserver/DevServer.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace OrvelKit;
using Clock = std::chrono::steady_clock;

constexpr int channelCount = 10;
constexpr int updatesPerChannel = 100;
constexpr int calls = 1000;

struct Service {
    OrvelDev::DevServer server{{}};
    std::string baseURL;
    std::string deviceToken;
    std::string syncBody; // one full answer, for the offline measurements
    std::string error;
};

OrvelProtocol::NotificationInput inputFrom(const OrvelProtocol::Notification& update) {
    OrvelProtocol::NotificationInput input;
    input.channel = update.channel;
    input.title = update.title;
    input.body = update.body;
    input.details = update.details;
    input.sender = update.sender;
    input.status = update.status;
    input.urgency = update.urgency;
    input.fields = update.fields;
    input.links = update.links;
    return input;
}

// Started and filled once, through the service's own HTTP interface.
Service& service() {
    static Service* shared = [] {
        auto* s = new Service;
        auto port = s->server.start();
        if (!port) {
            s->error = "devserver: " + port.error();
            return s;
        }
        s->baseURL = s->server.baseURL();
        auto transport = std::make_shared<CurlTransport>();
        const OrvelClient client(s->baseURL, transport);
        EventLoop loop;
        auto device = loop.runUntilComplete(client.bootstrapDevice());
        if (!device) {
            s->error = "bootstrap: " + device.error().description();
            return s;
        }
        s->deviceToken = device->deviceToken;
        OrvelTest::RecordGenerator generator(20250701);
        for (int c = 0; c < channelCount && s->error.empty(); ++c) {
            auto channel = loop.runUntilComplete(client.engage(s->deviceToken, "bench"));
            if (!channel) {
                s->error = "engage: " + channel.error().description();
                break;
            }
            for (int seq = 1; seq <= updatesPerChannel; ++seq) {
                auto update = generator.notification(channel->channel, seq);
                HTTPRequest publish{s->baseURL + "/publish",
                                    "POST",
                                    {{"content-type", "application/json"},
                                     {"Authorization", "Bearer " + channel->token}},
                                    OrvelProtocol::encode(inputFrom(update)).value()};
                auto sent = loop.runUntilComplete(transport->send(std::move(publish)));
                if (!sent || sent->status != 200) {
                    s->error = "publish: " +
                               (sent ? std::to_string(sent->status) : sent.error().description());
                    break;
                }
            }
        }
        auto answer =
            loop.runUntilComplete(transport->send({s->baseURL + "/sync",
                                                   "GET",
                                                   {{"Authorization", "Bearer " + s->deviceToken}},
                                                   std::nullopt}));
        if (s->error.empty() && answer && answer->status == 200) {
            s->syncBody = std::move(answer->body);
        } else if (s->error.empty()) {
            s->error = "sync answer unavailable";
        }
        return s;
    }();
    return *shared;
}

void reportLatencies(benchmark::State& state, std::vector<double> micros) {
    if (micros.empty()) {
        return;
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[(micros.size() * 99) / 100 - 1];
}

double microsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// One full sync per iteration: request building, the exchange, decoding.
void BM_ClientSync(benchmark::State& state) {
    Service& s = service();
    if (!s.error.empty()) {
        state.SkipWithError(s.error.c_str());
        return;
    }
    const OrvelClient client(s.baseURL, std::make_shared<CurlTransport>());
    EventLoop loop;
    std::vector<double> micros;
    micros.reserve(calls);
    for (auto _ : state) {
        const auto start = Clock::now();
        auto synced = loop.runUntilComplete(client.sync(s.deviceToken, {}, {}));
        micros.push_back(microsSince(start));
        if (!synced || synced->channels.size() != channelCount) {
            state.SkipWithError("sync failed");
            break;
        }
    }
    state.counters["response_kB"] = static_cast<double>(s.syncBody.size()) / 1e3;
    reportLatencies(state, std::move(micros));
}
BENCHMARK(BM_ClientSync)->Iterations(calls)->Unit(benchmark::kMicrosecond);

// The exchange alone through CurlTransport: the worker thread, the hand-over
// to the executor, no decoding.
void BM_TransportSync(benchmark::State& state) {
    Service& s = service();
    if (!s.error.empty()) {
        state.SkipWithError(s.error.c_str());
        return;
    }
    CurlTransport transport;
    EventLoop loop;
    std::vector<double> micros;
    micros.reserve(calls);
    for (auto _ : state) {
        const auto start = Clock::now();
        auto answer =
            loop.runUntilComplete(transport.send({s.baseURL + "/sync",
                                                  "GET",
                                                  {{"Authorization", "Bearer " + s.deviceToken}},
                                                  std::nullopt}));
        micros.push_back(microsSince(start));
        if (!answer || answer->status != 200) {
            state.SkipWithError("exchange failed");
            break;
        }
    }
    reportLatencies(state, std::move(micros));
}
BENCHMARK(BM_TransportSync)->Iterations(calls)->Unit(benchmark::kMicrosecond);

// The same request through one reused libcurl handle, body kept as bytes: the
// time spent on the connection and in the service.
void BM_RawCurlSync(benchmark::State& state) {
    Service& s = service();
    if (!s.error.empty()) {
        state.SkipWithError(s.error.c_str());
        return;
    }
    CURL* easy = curl_easy_init();
    const std::string url = s.baseURL + "/sync";
    curl_slist* headers =
        curl_slist_append(nullptr, ("Authorization: Bearer " + s.deviceToken).c_str());
    std::string body;
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(
        easy, CURLOPT_WRITEFUNCTION,
        +[](char* data, std::size_t size, std::size_t count, void* out) {
            static_cast<std::string*>(out)->append(data, size * count);
            return size * count;
        });
    std::vector<double> micros;
    micros.reserve(calls);
    for (auto _ : state) {
        body.clear();
        const auto start = Clock::now();
        const CURLcode result = curl_easy_perform(easy);
        micros.push_back(microsSince(start));
        if (result != CURLE_OK) {
            state.SkipWithError(curl_easy_strerror(result));
            break;
        }
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(easy);
    reportLatencies(state, std::move(micros));
}
BENCHMARK(BM_RawCurlSync)->Iterations(calls)->Unit(benchmark::kMicrosecond);

// Everything the client does per sync except the network: building the path
// and the URL, the task and executor round trip, status check and decoding,
// served by an in-memory transport. Argument 1: the full answer of the
// service; 0: an answer without channels (the client's machinery alone).
void BM_ClientOverheadPerSync(benchmark::State& state) {
    Service& s = service();
    if (!s.error.empty()) {
        state.SkipWithError(s.error.c_str());
        return;
    }
    const bool fullAnswer = state.range(0) != 0;
    auto transport = std::make_shared<OrvelTest::FakeTransport>();
    transport->respond(HTTPResponse{200, fullAnswer ? s.syncBody : R"({"channels":[]})"});
    const OrvelClient client(s.baseURL, transport);
    const OrvelClient::Cursors cursors = [] {
        OrvelClient::Cursors map;
        for (int c = 0; c < channelCount; ++c) {
            map.emplace("channel-" + std::to_string(c), 100);
        }
        return map;
    }();
    EventLoop loop;
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto synced = loop.runUntilComplete(client.sync(s.deviceToken, cursors, cursors));
        micros.push_back(microsSince(start));
        if (!synced) {
            state.SkipWithError(synced.error().description().c_str());
            break;
        }
        benchmark::DoNotOptimize(synced);
    }
    reportLatencies(state, std::move(micros));
}
BENCHMARK(BM_ClientOverheadPerSync)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(calls)
    ->Unit(benchmark::kMicrosecond);

// The share of decoding in that overhead.
void BM_DecodeSyncAnswer(benchmark::State& state) {
    Service& s = service();
    if (!s.error.empty()) {
        state.SkipWithError(s.error.c_str());
        return;
    }
    for (auto _ : state) {
        auto decoded = OrvelProtocol::decode<OrvelProtocol::SyncResponse>(s.syncBody);
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.syncBody.size()));
}
BENCHMARK(BM_DecodeSyncAnswer)->Unit(benchmark::kMicrosecond);

} // namespace
