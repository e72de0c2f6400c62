#pragma once

// The faults a DevServer injects, set and cleared from any thread while it
// serves (see Fault.h for what each one does).

#include "tools/devserver/Fault.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace OrvelDev {

class FaultInjector {
public:
    // `endpoint`: a request path ("/sync") or "*" for every endpoint without
    // a fault of its own. Replaces the endpoint's earlier fault.
    void set(std::string endpoint, Fault fault);
    void clear(std::string_view endpoint);
    void clearAll();

    // The fault that applies to a request for `path`, counted as injected
    // (and used up when it was limited), or absent.
    std::optional<Fault> take(std::string_view path);

    // How many faults were injected so far.
    std::uint64_t injected() const;
    // How many answers delay faults are holding back right now.
    std::size_t holding() const;

    // Waits for `duration`, or less once release() or interrupt() is called.
    void wait(std::chrono::milliseconds duration);
    // Sends the answers held back so far at once; later delays still apply.
    void release();
    // Ends every wait, now and later: the server is stopping.
    void interrupt();

private:
    mutable std::mutex mutex_;
    std::condition_variable interrupted_;
    std::map<std::string, Fault, std::less<>> faults_;
    std::uint64_t injected_ = 0;
    std::size_t holding_ = 0;
    std::uint64_t releases_ = 0;
    bool stopping_ = false;
};

} // namespace OrvelDev
