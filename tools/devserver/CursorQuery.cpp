#include "tools/devserver/CursorQuery.h"

#include "orvelkit/support/HexDigit.h"

#include <charconv>

namespace OrvelDev {

OrvelKit::Expected<std::string, std::string> percentDecode(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        const int high = i + 1 < text.size() ? OrvelKit::hexDigitValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? OrvelKit::hexDigitValue(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
            return OrvelKit::unexpected(std::string("malformed percent-escape"));
        }
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return decoded;
}

OrvelKit::Expected<std::vector<std::pair<std::string, std::string>>, std::string>
parseQuery(std::string_view query) {
    std::vector<std::pair<std::string, std::string>> items;
    while (!query.empty()) {
        const auto end = query.find('&');
        const std::string_view item = query.substr(0, end);
        query = end == std::string_view::npos ? std::string_view{} : query.substr(end + 1);
        if (item.empty()) {
            continue;
        }
        const auto equals = item.find('=');
        auto name = percentDecode(item.substr(0, equals));
        auto value = percentDecode(equals == std::string_view::npos ? std::string_view{}
                                                                    : item.substr(equals + 1));
        if (!name || !value) {
            return OrvelKit::unexpected(std::string("malformed query: malformed percent-escape"));
        }
        items.emplace_back(std::move(*name), std::move(*value));
    }
    return items;
}

OrvelKit::Expected<std::uint64_t, std::string> parseSequence(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return OrvelKit::unexpected("\"" + std::string(text) +
                                    "\" is not an unsigned 64-bit sequence number");
    }
    return value;
}

OrvelKit::Expected<Cursors, std::string> parseCursors(std::string_view text) {
    Cursors cursors;
    if (text.empty()) {
        return cursors;
    }
    for (bool more = true; more;) {
        const auto end = text.find(',');
        const std::string_view item = text.substr(0, end);
        more = end != std::string_view::npos;
        text = more ? text.substr(end + 1) : std::string_view{};
        const auto colon = item.rfind(':');
        if (colon == std::string_view::npos || colon == 0) {
            return OrvelKit::unexpected(std::string("a cursor is not channel:seq"));
        }
        auto seq = parseSequence(item.substr(colon + 1));
        if (!seq) {
            return OrvelKit::unexpected(seq.error());
        }
        if (!cursors.emplace(std::string(item.substr(0, colon)), *seq).second) {
            return OrvelKit::unexpected(std::string("a channel appears twice in one cursor list"));
        }
    }
    return cursors;
}

} // namespace OrvelDev
