#pragma once

// The development service over HTTP: cpp-httplib routes in front of one
// DevService, every call under one mutex. Start it on port 0 to get a free
// port, e.g. in tests and benchmarks:
//
//   OrvelDev::DevServer server({});
//   auto port = server.start();        // listening on 127.0.0.1:*port
//   client.baseURL = server.baseURL(); // "http://127.0.0.1:<port>"
//
// With a state file, the state is loaded by start() and saved after every
// change. A log stream receives one line per request and never a token.
//
// For tests of clients, faults() makes the server misbehave on purpose
// (Fault.h): error statuses, broken bodies, late answers, cut connections.

#include "orvelkit/support/Expected.h"
#include "tools/devserver/FaultInjector.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace OrvelDev {

class DevService;

struct DevServerOptions {
    std::string host = "127.0.0.1";
    int port = 0;
    std::optional<std::filesystem::path> stateFile;
    std::ostream* log = nullptr;
};

class DevServer {
public:
    explicit DevServer(DevServerOptions options);
    ~DevServer();
    DevServer(const DevServer&) = delete;
    DevServer& operator=(const DevServer&) = delete;

    // Loads the state file, binds and serves on a background thread; returns
    // the bound port. Fails when the state file is unusable or the address
    // cannot be bound. Only one start per server.
    OrvelKit::Expected<int, std::string> start();
    // Stops serving and waits for the background thread. Safe to call twice.
    void stop();

    // "http://host:port" once started.
    std::string baseURL() const;

    // The faults to inject; may be changed at any time, from any thread.
    FaultInjector& faults();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace OrvelDev
