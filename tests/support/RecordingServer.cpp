#include "tests/support/RecordingServer.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <thread>

namespace OrvelTest {

namespace {

// Entries the server library adds to a request's headers itself.
bool isServerAnnotation(const std::string& name) {
    return name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
           name == "LOCAL_PORT";
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::multimap<std::string, std::string> RecordedRequest::chosenHeaders() const {
    std::multimap<std::string, std::string> chosen;
    for (const auto& [name, value] : headers) {
        if (!equalsIgnoringCase(name, "Host") && !equalsIgnoringCase(name, "Content-Length")) {
            chosen.emplace(name, value);
        }
    }
    return chosen;
}

RecordingServer::RecordingServer() : server_(std::make_unique<httplib::Server>()) {
    auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        RecordedRequest recorded{request.method, request.target, {}, request.body};
        for (const auto& [name, value] : request.headers) {
            if (!isServerAnnotation(name)) {
                recorded.headers.emplace(name, value);
            }
        }
        const CannedResponse answer = record(std::move(recorded), request.path);
        holdBack(answer.delay);
        response.status = answer.status;
        response.set_content(answer.body, "application/json");
    };
    const std::string anyPath = ".*";
    server_->Get(anyPath, handler);
    server_->Post(anyPath, handler);
    server_->Put(anyPath, handler);
    server_->Patch(anyPath, handler);
    server_->Delete(anyPath, handler);
    server_->Options(anyPath, handler);
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
    fallback_ = std::move(response);
}

void RecordingServer::respond(const std::string& path, CannedResponse response) {
    std::lock_guard lock(mutex_);
    byPath_[path] = std::move(response);
}

std::vector<RecordedRequest> RecordingServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
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

CannedResponse RecordingServer::record(RecordedRequest request, const std::string& path) {
    CannedResponse answer;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(std::move(request));
        auto found = byPath_.find(path);
        answer = found != byPath_.end() ? found->second : fallback_;
    }
    changed_.notify_all();
    return answer;
}

void RecordingServer::holdBack(std::chrono::milliseconds delay) {
    if (delay.count() <= 0) {
        return;
    }
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, delay, [this] { return stopping_; });
}

} // namespace OrvelTest
