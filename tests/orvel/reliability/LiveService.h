#pragma once

// The development service on a free loopback port, as the reliability tests
// use it: faults to inject, and a plain HTTP client for what agents and the
// tests themselves do (pair, create channels, publish, look at the service's
// record). Those calls bypass nothing: clear the faults before making them.

#include "orvelkit/json/Json.h"
#include "orvelkit/protocol/Protocol.h"
#include "tests/support/DecodedAnswer.h"
#include "tools/devserver/DevServer.h"
#include "tools/devserver/ServiceRecords.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <mutex>
#include <sstream>
#include <string>

namespace OrvelTest {

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

class LiveService {
public:
    LiveService() : logStream_(&log_), server_(options()) {
        auto port = server_.start();
        EXPECT_TRUE(port) << (port ? "" : port.error());
        client_ = std::make_unique<httplib::Client>("127.0.0.1", port ? *port : 1);
        client_->set_read_timeout(30, 0);
    }

    OrvelDev::DevServer& server() { return server_; }
    OrvelDev::FaultInjector& faults() { return server_.faults(); }
    std::string baseURL() const { return server_.baseURL(); }
    // Every request line the server logged so far.
    std::string log() const { return log_.text(); }

    OrvelProtocol::DeviceCredentials bootstrap() {
        return call<OrvelProtocol::DeviceCredentials>("/pair/bootstrap", OrvelProtocol::EmptyBody{},
                                                      "");
    }
    OrvelProtocol::Engagement engage(const std::string& deviceToken) {
        return call<OrvelProtocol::Engagement>("/engage", OrvelProtocol::EngageBody{"agent"},
                                               deviceToken);
    }
    // Publishes an update as an agent holding `publishToken`; its sequence number.
    std::uint64_t publish(const std::string& publishToken, std::string title,
                          std::string status = "need") {
        OrvelProtocol::NotificationInput input;
        input.title = std::move(title);
        input.status = std::move(status);
        return call<OrvelDev::PublishAck>("/publish", input, publishToken).seq;
    }
    // The service's record for a device, straight from its sync.
    OrvelProtocol::SyncResponse sync(const std::string& deviceToken) {
        return decodedAnswer<OrvelProtocol::SyncResponse>(
            client_->Get("/sync", {{"Authorization", "Bearer " + deviceToken}}));
    }

private:
    OrvelDev::DevServerOptions options() {
        OrvelDev::DevServerOptions options;
        options.log = &logStream_;
        return options;
    }

    template <class R, class B>
    R call(const std::string& path, const B& body, const std::string& token) {
        httplib::Headers headers;
        if (!token.empty()) {
            headers.emplace("Authorization", "Bearer " + token);
        }
        return decodedAnswer<R>(client_->Post(
            path.c_str(), headers, OrvelKit::Json::encode(body).value(), "application/json"));
    }

    SharedLog log_;
    std::ostream logStream_;
    OrvelDev::DevServer server_;
    std::unique_ptr<httplib::Client> client_;
};

} // namespace OrvelTest
