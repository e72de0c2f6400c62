#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>

namespace OrvelKit::Json {

namespace detail {

// Joins texts (for messages and key paths; `"literal" + std::string` trips
// a false -Wrestrict warning in GCC 12 at -O3).
inline std::string concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) {
        text += part;
    }
    return text;
}

} // namespace detail

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
