#pragma once

// The sessions of the MCP endpoint: one per `initialize`, named by the
// Mcp-Session-Id header of every later request. At most `capacity` live at a
// time; past that the oldest is forgotten, and its client, answered 404,
// starts a new one as the transport prescribes. Thread-safe.

#include "tools/devserver/RandomText.h"

#include <cstddef>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace OrvelDev {

class McpSessions {
public:
    static constexpr std::size_t defaultCapacity = 10000;

    explicit McpSessions(std::size_t capacity = defaultCapacity) : capacity_(capacity) {}

    // A new session's identifier: visible ASCII, unguessable.
    std::string open();
    bool contains(std::string_view id) const;
    // False when there was no such session.
    bool close(std::string_view id);

private:
    std::size_t capacity_;
    mutable std::mutex mutex_;
    RandomText random_;
    std::set<std::string, std::less<>> live_;
    std::deque<std::string> byAge_; // oldest first; may name closed sessions
};

} // namespace OrvelDev
