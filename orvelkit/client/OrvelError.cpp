#include "orvelkit/client/OrvelError.h"

namespace OrvelKit {

namespace {

// A text as a quoted literal: quotes, backslashes and line breaks escaped.
std::string quoted(const std::string& text) {
    std::string result = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            result += "\\\"";
            break;
        case '\\':
            result += "\\\\";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        default:
            result += c;
        }
    }
    return result + "\"";
}

} // namespace

std::string OrvelError::description() const {
    switch (kind_) {
    case Kind::http:
        return "http(status: " + std::to_string(status_) + ")";
    case Kind::decoding:
        return "decoding(" + quoted(message_) + ")";
    case Kind::badURL:
        break;
    }
    return "badURL";
}

} // namespace OrvelKit
