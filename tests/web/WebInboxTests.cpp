// The web inbox in a real browser against the service: pairing by link,
// read and dismiss marks both ways, agent text kept inert, refused codes.

#include "orvelkit/presentation/WebInbox.h"
#include "tests/orvel/reliability/LiveModel.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/DevServerHarness.h"
#include "tests/web/Browser.h"
#include "tools/devserver/WebApp.h"

#include <gtest/gtest.h>

namespace {

using OrvelDev::Testing::RunningServer;
using OrvelTest::Browser;
using OrvelTest::LiveModel;

class WebInbox : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Browser::available()) {
            GTEST_SKIP() << "chromium and chromedriver are not installed (scripts/install-deps)";
        }
        ASSERT_TRUE(service.started());
        LiveModel::writeConfig(directory.path() / "desktop", service.baseURL());
        desktop = std::make_unique<LiveModel>(directory.path() / "desktop");
        browser = std::make_unique<Browser>(directory.path() / "profile");
        ASSERT_TRUE(browser->started()) << "chromedriver did not start a session";
    }

    // The desktop's pairing link for a fresh code.
    std::string pairingLink() {
        const auto code = desktop->run((*desktop)->makePairingCode());
        EXPECT_TRUE(code.has_value());
        lastCode = code ? code->code : "";
        return OrvelKit::WebInbox::pairingURL(lastCode, service.baseURL()).value_or("");
    }

    // The desktop's own channel, for an agent to post to.
    std::string agentToken() {
        desktop->run((*desktop)->createEngagement());
        const auto& engagement = (*desktop)->engagement();
        EXPECT_TRUE(engagement.has_value());
        return engagement ? engagement->token : "";
    }

    OrvelTest::TemporaryDirectory directory;
    RunningServer service;
    std::unique_ptr<LiveModel> desktop;
    std::unique_ptr<Browser> browser;
    std::string lastCode;
};

const std::string rowCount = "document.querySelectorAll('#list .row').length";
const std::string unreadCount = "document.querySelectorAll('#list .row.unread').length";

TEST_F(WebInbox, APairedPageShowsTheUpdatesAndTradesMarksWithTheDesktop) {
    const auto token = agentToken();
    service.publish(token, "Deploy finished", "done");
    service.publish(token, "Approve the migration", "need");
    browser->open(pairingLink());
    ASSERT_TRUE(browser->waitFor(rowCount + " === 2"))
        << browser->run("return document.body.innerText;");
    EXPECT_EQ(browser->run("return location.hash;"), "\"\"") << "the code leaves the address bar";
    EXPECT_EQ(browser->run("return localStorage.length;"), "1");
    EXPECT_EQ(browser->run("return document.querySelector('#list .row .title').textContent;"),
              "\"Approve the migration\"")
        << "newest first";

    // Dismissed in the page: the desktop's next sync has it dismissed.
    browser->run("document.querySelector('#list .row .dismiss').click(); return 0;");
    ASSERT_TRUE(browser->waitFor(rowCount + " === 1"));
    bool dismissedThere = false;
    for (int sync = 0; sync < 50 && !dismissedThere; ++sync) {
        desktop->refresh();
        const auto& inbox = (*desktop)->inbox();
        dismissedThere =
            !inbox.channels().empty() && inbox.channels()[0].dismissedSeqs().contains(2);
        if (!dismissedThere) {
            desktop->settle(std::chrono::milliseconds(100));
        }
    }
    ASSERT_TRUE(dismissedThere);

    // Read on the desktop: the page shows it read after its next sync.
    EXPECT_TRUE(browser->waitFor(unreadCount + " === 1"));
    (*desktop)->markAllRead();
    desktop->settle();
    browser->run("document.dispatchEvent(new Event('visibilitychange')); return 0;");
    EXPECT_TRUE(browser->waitFor(unreadCount + " === 0"));

    // Filters narrow the list; forgetting the browser drops the token.
    browser->run("document.querySelector('[data-filter=failed]').click(); return 0;");
    EXPECT_TRUE(browser->waitFor(rowCount + " === 0 && !document.getElementById('empty').hidden"));
    browser->run("document.getElementById('forget').click(); return 0;");
    EXPECT_TRUE(browser->waitFor(
        "localStorage.length === 0 && !document.getElementById('welcome').hidden"));
}

TEST_F(WebInbox, AgentTextStaysTextAndOnlyWebLinksOpen) {
    const auto token = agentToken();
    OrvelProtocol::NotificationInput input;
    input.title = R"(<img src=x onerror="window.owned=1">)";
    input.body = "<script>window.owned=2</script> [x](javascript:window.owned=3) "
                 "javascript:window.owned=4 see https://example.com/run?id=1.";
    input.links = {{"evil", "javascript:window.owned=5"}, {"Run", "HTTPS://example.com/run"}};
    service.call<OrvelDev::PublishAck>("/publish", input, token);
    browser->open(pairingLink());
    ASSERT_TRUE(browser->waitFor(rowCount + " === 1"));
    browser->run("document.querySelector('#list .row').click(); return 0;");
    ASSERT_TRUE(browser->waitFor("document.getElementById('detail').open"));

    EXPECT_EQ(browser->run("return document.getElementById('detail-title').textContent;"),
              R"("<img src=x onerror=\"window.owned=1\">")");
    EXPECT_EQ(browser->run("return [document.images.length, document.scripts.length, "
                           "typeof window.owned];"),
              R"([0,1,"undefined"])");
    EXPECT_EQ(browser->run("return [...document.querySelectorAll('#detail a')].map(a => a.href);"),
              R"(["https://example.com/run?id=1","https://example.com/run"])");
}

TEST_F(WebInbox, AUsedOrUnknownCodeIsRefusedAndNothingIsKept) {
    const auto link = pairingLink();
    const OrvelKit::OrvelClient otherDevice(service.baseURL(), (*desktop)->transport());
    ASSERT_TRUE(desktop->run(otherDevice.redeem(lastCode)).hasValue()) << "the code is used";
    browser->open(link);
    ASSERT_TRUE(browser->waitFor("!document.getElementById('message').hidden"));
    EXPECT_NE(browser->run("return document.getElementById('message').textContent;")
                  .find("expired or was already used"),
              std::string::npos);
    EXPECT_EQ(browser->run("return [localStorage.length, location.hash];"), R"([0,""])");
    EXPECT_TRUE(browser->waitFor("!document.getElementById('welcome').hidden"));
}

TEST(WebInboxPages, ComeWithAStrictPolicyAndStaySmall) {
    RunningServer service;
    std::size_t transferred = 0;
    for (const char* path : {"/app", "/app/app.css", "/app/app.js", "/app/inbox.js"}) {
        auto page = service.get(path);
        ASSERT_TRUE(page && page->status == 200) << path;
        EXPECT_EQ(page->get_header_value("Content-Security-Policy"), OrvelDev::webAppPolicy);
        EXPECT_EQ(page->get_header_value("Referrer-Policy"), "no-referrer");
        transferred += page->body.size();
    }
    EXPECT_LT(transferred, 100u * 1024) << "the first load stays under 100 KB";
    EXPECT_EQ(service.get("/app/../healthz")->status, 404);
}

} // namespace
