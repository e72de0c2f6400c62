#pragma once

// The development service for tests: DevService results unwrapped, the
// records a test publishes, and a DevServer on a free loopback port with a
// cpp-httplib client in front of it that does what agents and other devices
// do (set up an account with a channel, publish, look at the service's
// record). Those calls bypass nothing: clear the faults before making them.

#include "orvelkit/json/Json.h"
#include "tests/support/DecodedAnswer.h"
#include "tools/devserver/DevServer.h"
#include "tools/devserver/DevService.h"
#include "tools/devserver/ServiceRecords.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <mutex>
#include <ostream>

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

// A device and the channel it engaged.
struct Account {
    OrvelProtocol::DeviceCredentials device;
    OrvelProtocol::Engagement engagement;
};

// A log stream that the server's threads may write while a test reads it.
class SharedLog : public std::streambuf {
public:
    std::string text() const {
        std::lock_guard lock(mutex_);
        return text_;
    }

protected:
    int overflow(int c) override {
        if (c != traits_type::eof()) {
            std::lock_guard lock(mutex_);
            text_.push_back(static_cast<char>(c));
        }
        return c;
    }
    std::streamsize xsputn(const char* data, std::streamsize count) override {
        std::lock_guard lock(mutex_);
        text_.append(data, static_cast<std::size_t>(count));
        return count;
    }

private:
    mutable std::mutex mutex_;
    std::string text_;
};

class RunningServer {
public:
    explicit RunningServer(DevServerOptions options = {})
        : server_([this, &options] {
              options.log = &logStream_;
              return std::move(options);
          }()) {
        auto port = server_.start();
        EXPECT_TRUE(port) << (port ? "" : port.error());
        started_ = port.hasValue();
        port_ = port ? *port : 1;
        client_ = std::make_unique<httplib::Client>("127.0.0.1", port ? *port : 1);
        client_->set_read_timeout(30, 0);
    }

    bool started() const { return started_; }
    int port() const { return port_; }
    DevServer& server() { return server_; }
    FaultInjector& faults() { return server_.faults(); }
    std::string baseURL() const { return server_.baseURL(); }
    // Every request line the server logged so far.
    std::string log() const { return log_.text(); }

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

    // A new device with a new channel.
    Account account() {
        Account account;
        account.device =
            call<OrvelProtocol::DeviceCredentials>("/pair/bootstrap", OrvelProtocol::EmptyBody{});
        account.engagement = call<OrvelProtocol::Engagement>("/engage", OrvelProtocol::EngageBody{},
                                                             account.device.deviceToken);
        return account;
    }

    // Publishes an update as an agent holding `token`; its sequence number
    // (0, and a failure, when it is refused).
    std::uint64_t publish(const std::string& token, std::string title,
                          std::optional<std::string> status = std::nullopt) {
        auto input = update(std::move(title));
        input.status = std::move(status);
        return call<PublishAck>("/publish", input, token).seq;
    }
    // The service's record for a device, straight from its sync.
    OrvelProtocol::SyncResponse sync(const std::string& deviceToken) {
        return OrvelTest::decodedAnswer<OrvelProtocol::SyncResponse>(get("/sync", deviceToken));
    }

private:
    static httplib::Headers headers(const std::string& token) {
        if (token.empty()) {
            return {};
        }
        return {{"Authorization", "Bearer " + token}};
    }

    SharedLog log_;
    std::ostream logStream_{&log_};
    DevServer server_;
    bool started_ = false;
    int port_ = 1;
    std::unique_ptr<httplib::Client> client_;
};

} // namespace OrvelDev::Testing
