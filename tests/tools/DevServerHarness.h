#pragma once

// The development service for tests: DevService results unwrapped, the
// records a test publishes, and a DevServer on a free loopback port with a
// cpp-httplib client in front of it that can set up an account with a channel.

#include "orvelkit/json/Json.h"
#include "tests/support/DecodedAnswer.h"
#include "tests/support/Eventually.h"
#include "tools/devserver/DevServer.h"
#include "tools/devserver/DevService.h"
#include "tools/devserver/ServiceRecords.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <sstream>

namespace OrvelDev::Testing {

template <class T>
T value(const ServiceResult<T>& result) {
    EXPECT_TRUE(result.hasValue()) << (result ? "" : result.error().message);
    return result ? *result : T{};
}

// 200 for a success, else the refusal's status.
template <class T>
int status(const ServiceResult<T>& result) {
    return result ? 200 : result.error().status;
}

inline OrvelProtocol::NotificationInput update(std::string title) {
    OrvelProtocol::NotificationInput input;
    input.title = std::move(title);
    return input;
}

inline OrvelProtocol::PersistentCardUpdateInput cardUpdate(std::string updateId) {
    OrvelProtocol::PersistentCardUpdateInput input;
    input.cardKey = "spend";
    input.definition = {{{"total", "money", "Total", "primary"}}, "metric", 1, "Spend"};
    input.operation = {{}, "snapshot", std::nullopt, {}};
    input.updateId = std::move(updateId);
    return input;
}

using OrvelTest::eventually;

// A device and the channel it engaged.
struct Account {
    OrvelProtocol::DeviceCredentials device;
    OrvelProtocol::Engagement engagement;
};

class RunningServer {
public:
    explicit RunningServer(DevServerOptions options = {}) : server_(withLog(std::move(options))) {
        auto port = server_.start();
        EXPECT_TRUE(port) << (port ? "" : port.error());
        started_ = port.hasValue();
        client_ = std::make_unique<httplib::Client>("127.0.0.1", port ? *port : 1);
    }

    bool started() const { return started_; }
    DevServer& server() { return server_; }
    // Only read after stop(): the server writes to it from its threads.
    std::string log() const { return log_.str(); }

    httplib::Result post(const std::string& path, const std::string& body,
                         const std::string& token = {}) {
        return client_->Post(path.c_str(), headers(token), body, "application/json");
    }
    httplib::Result get(const std::string& path, const std::string& token = {}) {
        return client_->Get(path.c_str(), headers(token));
    }

    // POSTs a record and decodes the 200 answer as R.
    template <class R, class B>
    R call(const std::string& path, const B& body, const std::string& token = {}) {
        return OrvelTest::decodedAnswer<R>(post(path, OrvelKit::Json::encode(body).value(), token));
    }

    // A new device with a new channel; `sender` names the channel's agent.
    Account account(std::optional<std::string> sender = std::nullopt) {
        Account account;
        account.device =
            call<OrvelProtocol::DeviceCredentials>("/pair/bootstrap", OrvelProtocol::EmptyBody{});
        account.engagement = call<OrvelProtocol::Engagement>(
            "/engage", OrvelProtocol::EngageBody{std::move(sender)}, account.device.deviceToken);
        return account;
    }

    // The status of publishing an update titled `title` with `token`.
    int publish(const std::string& token, const std::string& title) {
        auto result = post("/publish", OrvelKit::Json::encode(update(title)).value(), token);
        return result ? result->status : 0;
    }

private:
    DevServerOptions withLog(DevServerOptions options) {
        options.log = &log_;
        return options;
    }
    static httplib::Headers headers(const std::string& token) {
        if (token.empty()) {
            return {};
        }
        return {{"Authorization", "Bearer " + token}};
    }

    std::ostringstream log_;
    DevServer server_;
    bool started_ = false;
    std::unique_ptr<httplib::Client> client_;
};

} // namespace OrvelDev::Testing
