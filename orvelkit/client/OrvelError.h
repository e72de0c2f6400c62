#pragma once

#include <ostream>
#include <string>

namespace OrvelKit {

// The service client's own failures.
//   http(status)       the server answered with a status other than 200
//   decoding(message)  a 200 body did not decode into the expected record
//   badURL             an endpoint URL could not be formed
class OrvelError {
public:
    enum class Kind { http, decoding, badURL };

    static OrvelError http(int status) { return OrvelError(Kind::http, status, {}); }
    static OrvelError decoding(std::string message) {
        return OrvelError(Kind::decoding, 0, std::move(message));
    }
    static OrvelError badURL() { return OrvelError(Kind::badURL, 0, {}); }

    Kind kind() const { return kind_; }
    int status() const { return status_; }                  // http only
    const std::string& message() const { return message_; } // decoding only

    // The case and its payload: http(status: 401), decoding("…"), badURL.
    std::string description() const;

    bool operator==(const OrvelError&) const = default;

private:
    OrvelError(Kind kind, int status, std::string message)
        : kind_(kind), status_(status), message_(std::move(message)) {}

    Kind kind_;
    int status_;
    std::string message_;
};

inline std::ostream& operator<<(std::ostream& out, const OrvelError& error) {
    return out << error.description();
}

} // namespace OrvelKit
