// The web inbox in headless Chromium with 10,000 updates: how long a filter
// change takes in the page (script and layout), and how many rows exist in
// the page while the list holds them all. Needs chromium and chromedriver.

#include "orvelkit/json/Json.h"
#include "orvelkit/protocol/Protocol.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/web/Browser.h"
#include "tools/devserver/DevServer.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int updateCount = 10'000;

struct Page {
    OrvelTest::TemporaryDirectory directory;
    OrvelDev::DevServer server{{}};
    std::unique_ptr<OrvelTest::Browser> browser;
    bool ready = false;

    Page() {
        const auto port = server.start();
        if (!port || !OrvelTest::Browser::available()) {
            return;
        }
        httplib::Client client("127.0.0.1", *port);
        auto device = OrvelKit::Json::decode<OrvelProtocol::DeviceCredentials>(
            client.Post("/pair/bootstrap", "{}", "application/json")->body);
        const httplib::Headers auth{{"Authorization", "Bearer " + device->deviceToken}};
        auto engagement = OrvelKit::Json::decode<OrvelProtocol::Engagement>(
            client.Post("/engage", auth, "{}", "application/json")->body);
        const httplib::Headers agent{{"Authorization", "Bearer " + engagement->token}};
        const char* statuses[] = {"need", "running", "done", "failed", "info"};
        for (int i = 0; i < updateCount; ++i) {
            const std::string body =
                R"({"channel":")" + engagement->channel + R"(","title":"Step )" +
                std::to_string(i) + R"( of the nightly run","body":"Logs at https://example.com/)" +
                std::to_string(i) + R"(","status":")" + statuses[i % 5] + R"("})";
            client.Post("/publish", agent, body, "application/json");
        }
        auto code = OrvelKit::Json::decode<OrvelProtocol::PairingCode>(
            client.Post("/pair/code", auth, "{}", "application/json")->body);
        browser = std::make_unique<OrvelTest::Browser>(directory.path() / "profile");
        browser->open(server.baseURL() + "/app#pair=" + code->code);
        ready = browser->waitFor("document.getElementById('list-space').offsetHeight >= " +
                                     std::to_string(updateCount * 84),
                                 std::chrono::seconds(60));
        if (!ready) {
            std::fprintf(
                stderr, "page: %s\n",
                browser
                    ->run("return [document.getElementById('sync-state').textContent, "
                          "document.getElementById('list-space').style.height, "
                          "document.getElementById('message').textContent, location.href];")
                    .c_str());
        }
    }
};

Page& page() {
    static Page shared;
    return shared;
}

void BM_WebInboxFilterChange(benchmark::State& state) {
    auto& p = page();
    if (!p.ready) {
        state.SkipWithError("no browser, or the page did not load the updates");
        return;
    }
    const char* filters[] = {"unread", "needsYou", "running", "failed", "all"};
    int next = 0;
    for (auto _ : state) {
        const std::string script =
            std::string("const t = performance.now(); document.querySelector('[data-filter=") +
            filters[next++ % 5] +
            "]').click(); void document.getElementById('list').offsetHeight; "
            "return performance.now() - t;";
        const double ms = std::strtod(p.browser->run(script).c_str(), nullptr);
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["rows_in_page"] = std::strtod(
        p.browser->run("return document.querySelectorAll('#list .row').length;").c_str(), nullptr);
}
BENCHMARK(BM_WebInboxFilterChange)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace
