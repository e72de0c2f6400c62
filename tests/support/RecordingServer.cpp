#include "tests/support/RecordingServer.h"

#include <httplib.h>

#include <stdexcept>
#include <strings.h>

namespace OrvelTest {

RecordingServer::RecordingServer() : server_(std::make_unique<httplib::Server>()) {
    auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        RecordedRequest recorded{request.method, request.target, {}, request.body};
        for (const auto& [name, value] : request.headers) {
            // The server library adds the addresses itself.
            if (::strcasecmp(name.c_str(), "Host") != 0 &&
                ::strcasecmp(name.c_str(), "Content-Length") != 0 && !name.starts_with("REMOTE_") &&
                !name.starts_with("LOCAL_")) {
                recorded.chosenHeaders.emplace(name, value);
            }
        }
        std::unique_lock lock(mutex_);
        requests_.push_back(std::move(recorded));
        const CannedResponse answer = response_;
        changed_.notify_all();
        changed_.wait_for(lock, answer.delay, [this] { return stopping_; });
        response.status = answer.status;
        response.set_content(answer.body, "application/json");
    };
    server_->Get(".*", handler);
    server_->Post(".*", handler);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        throw std::runtime_error("RecordingServer: cannot bind 127.0.0.1");
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() does nothing to a server that is not running yet, so a server
    // destroyed before its thread got going would never end: wait for it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!server_->is_running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

RecordingServer::~RecordingServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    server_->stop();
    thread_.join();
}

std::string RecordingServer::baseURL() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

void RecordingServer::respond(CannedResponse response) {
    std::lock_guard lock(mutex_);
    response_ = std::move(response);
}

RecordedRequest RecordingServer::lastRequest() const {
    std::lock_guard lock(mutex_);
    return requests_.empty() ? RecordedRequest{} : requests_.back();
}

std::size_t RecordingServer::requestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

bool RecordingServer::waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

} // namespace OrvelTest
