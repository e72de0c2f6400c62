#pragma once

// A DevServer on a free loopback port with a cpp-httplib client in front of it.

#include "orvelkit/json/Json.h"
#include "tools/devserver/DevServer.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <sstream>

namespace OrvelDev::Testing {

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
        return answer<R>(post(path, OrvelKit::Json::encode(body).value(), token));
    }

    template <class R>
    static R answer(const httplib::Result& result) {
        EXPECT_TRUE(result);
        if (!result) {
            return R{};
        }
        EXPECT_EQ(result->status, 200) << result->body;
        auto decoded = OrvelKit::Json::decode<R>(result->body);
        EXPECT_TRUE(decoded) << result->body;
        return decoded ? *decoded : R{};
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
