#pragma once

// The development service over HTTP: cpp-httplib routes in front of one
// DevService, every call under one mutex. Start it on port 0 to get a free
// port, e.g. in tests and benchmarks:
//
//   OrvelDev::DevServer server({});
//   auto port = server.start();        // listening on 127.0.0.1:*port
//   client.baseURL = server.baseURL(); // "http://127.0.0.1:<port>"
//
// With a data directory, the state lives in its database (ServiceStore): loaded
// by start(), and every change written before its answer goes out. Without
// one it lives in memory. A state file (JSON, DevState) is read at start: into
// memory, or into the database while that is still empty. A log stream
// receives one line per request and never a token.
//
// For tests of clients, faults() makes the server misbehave on purpose
// (Fault.h): error statuses, broken bodies, late answers, cut connections.

#include "orvelkit/support/Expected.h"
#include "tools/devserver/FaultInjector.h"
#include "tools/devserver/ServiceLimits.h"

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
    // Plain HTTP on a non-loopback address only when this is set.
    bool allowRemote = false;
    std::optional<std::filesystem::path> dataDir;
    // Every write waits for the disk, not only those that hand out a token.
    bool syncEveryWrite = false;
    std::optional<std::filesystem::path> stateFile;
    ServiceLimits limits;
    std::ostream* log = nullptr;
};

class DevServer {
public:
    explicit DevServer(DevServerOptions options);
    ~DevServer();
    DevServer(const DevServer&) = delete;
    DevServer& operator=(const DevServer&) = delete;

    // Opens the data directory, reads the state file, binds and serves on a
    // background thread; returns the bound port. Fails when the storage or the
    // state file is unusable, or the address may not or cannot be bound. Only
    // one start per server.
    OrvelKit::Expected<int, std::string> start();
    // Stops listening, lets the requests in progress finish, waits for the
    // background thread and closes the database. Safe to call twice.
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
