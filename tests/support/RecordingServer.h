#pragma once

// A loopback HTTP server that records every request and answers each with
// the programmed response. Binds 127.0.0.1 on a free port; stops on
// destruction.

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace OrvelTest {

struct RecordedRequest {
    std::string method;
    std::string target; // path and query exactly as sent
    // What the client chose to send: without the headers HTTP framing adds
    // (Host, Content-Length); names as sent.
    std::multimap<std::string, std::string> chosenHeaders;
    std::string body;
};

struct CannedResponse {
    int status = 200;
    std::string body = "{}";
    // How long to hold the answer back; cut short when the server stops.
    std::chrono::milliseconds delay{0};
};

class RecordingServer {
public:
    RecordingServer();
    RecordingServer(const RecordingServer&) = delete;
    RecordingServer& operator=(const RecordingServer&) = delete;
    ~RecordingServer();

    std::string baseURL() const; // "http://127.0.0.1:<port>"
    void respond(CannedResponse response);

    RecordedRequest lastRequest() const;
    std::size_t requestCount() const;
    // Waits until at least `count` requests have arrived.
    bool waitForRequests(std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopping_ = false;
    CannedResponse response_;
    std::vector<RecordedRequest> requests_;
};

} // namespace OrvelTest
