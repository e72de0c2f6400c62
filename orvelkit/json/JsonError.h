#pragma once

#include <ostream>
#include <string>

namespace OrvelKit::Json {

// Why a JSON text did not decode into a record. `path` names the offending
// key, as in `channels[3].notifications[17].urgency`; it is empty when the
// text is not JSON at all.
struct DecodeError {
    std::string path;
    std::string message;

    // "channels[3].notifications[17].urgency: "urgent" is not one of low, normal, high, critical"
    std::string description() const { return path.empty() ? message : path + ": " + message; }

    bool operator==(const DecodeError&) const = default;
};

// Why a record could not be encoded (a text that is not valid UTF-8).
struct EncodeError {
    std::string path;
    std::string message;

    std::string description() const { return path.empty() ? message : path + ": " + message; }

    bool operator==(const EncodeError&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const DecodeError& error) {
    return out << error.description();
}

inline std::ostream& operator<<(std::ostream& out, const EncodeError& error) {
    return out << error.description();
}

} // namespace OrvelKit::Json
