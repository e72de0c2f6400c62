#include "orvelkit/client/PercentEncoding.h"

#include <simdjson.h>

namespace OrvelKit {

namespace {

bool isKept(unsigned char c, URLCharacters kept) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return true;
    }
    constexpr std::string_view pathMarks = "@!$&'()*+,-./:=_~";
    if (pathMarks.find(static_cast<char>(c)) != std::string_view::npos) {
        return true;
    }
    return kept == URLCharacters::query && (c == ';' || c == '?');
}

} // namespace

std::optional<std::string> percentEncode(std::string_view text, URLCharacters kept) {
    if (!simdjson::validate_utf8(text.data(), text.size())) {
        return std::nullopt;
    }
    constexpr char hex[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (isKept(c, kept)) {
            result += ch;
        } else {
            result += '%';
            result += hex[c >> 4];
            result += hex[c & 0x0F];
        }
    }
    return result;
}

} // namespace OrvelKit
