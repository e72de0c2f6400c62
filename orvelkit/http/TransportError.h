#pragma once

#include <ostream>
#include <string>

namespace OrvelKit {

// Why no response arrived: libcurl's result code and its description with the
// transfer's detail, e.g. "Couldn't connect to server: Failed to connect to
// 127.0.0.1 port 1 after 0 ms: Connection refused".
class TransportError {
public:
    TransportError() = default;
    TransportError(int code, std::string message) : code_(code), message_(std::move(message)) {}

    // The failure of a transfer that was still running when its transport was
    // destroyed.
    static TransportError cancelled();

    int code() const { return code_; }
    const std::string& message() const { return message_; }
    bool isCancellation() const;

    std::string description() const { return message_; }

    bool operator==(const TransportError&) const = default;

private:
    int code_ = 0;
    std::string message_;
};

inline std::ostream& operator<<(std::ostream& out, const TransportError& error) {
    return out << error.description();
}

} // namespace OrvelKit
