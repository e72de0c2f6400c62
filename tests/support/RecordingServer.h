#pragma once

// A loopback HTTP server that records every request and answers with
// programmed responses. Binds 127.0.0.1 on a free port; stops on destruction.

#include <chrono>
#include <condition_variable>
#include <cstddef>
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
    std::string target;                              // path and query exactly as sent
    std::multimap<std::string, std::string> headers; // names as sent
    std::string body;

    // The headers without those that HTTP framing adds (Host,
    // Content-Length): what the client chose to send.
    std::multimap<std::string, std::string> chosenHeaders() const;
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

    int port() const { return port_; }
    std::string baseURL() const; // "http://127.0.0.1:<port>"

    // The answer to requests for which no path has its own.
    void respond(CannedResponse response);
    // The answer for one path (without the query).
    void respond(const std::string& path, CannedResponse response);

    std::vector<RecordedRequest> requests() const;
    RecordedRequest lastRequest() const;
    std::size_t requestCount() const;

    // Waits until at least `count` requests have arrived.
    bool waitForRequests(std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
    CannedResponse record(RecordedRequest request, const std::string& path);
    void holdBack(std::chrono::milliseconds delay);

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopping_ = false;
    CannedResponse fallback_;
    std::map<std::string, CannedResponse> byPath_;
    std::vector<RecordedRequest> requests_;
};

} // namespace OrvelTest
