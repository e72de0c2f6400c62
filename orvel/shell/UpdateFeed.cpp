#include "orvel/shell/UpdateFeed.h"

#include "orvel/shell/MarkdownPresentation.h"
#include "orvelkit/json/JsonCodec.h"

#include <algorithm>

namespace Orvel::UpdateFeed {

OrvelKit::Expected<UpdateFeedEntry, std::string> parse(std::string_view json) {
    auto entry = OrvelKit::Json::decode<UpdateFeedEntry>(json);
    if (!entry) {
        return OrvelKit::unexpected(entry.error().description());
    }
    if (!versionParts(entry->version)) {
        return OrvelKit::unexpected("version: \"" + entry->version + "\" is not a version");
    }
    if (!MarkdownPresentation::isWebLink(entry->url)) {
        return OrvelKit::unexpected(std::string("url: not an http or https address"));
    }
    return std::move(*entry);
}

std::optional<std::vector<unsigned long>> versionParts(std::string_view version) {
    if (!version.empty() && (version.front() == 'v' || version.front() == 'V')) {
        version.remove_prefix(1);
    }
    std::vector<unsigned long> parts;
    unsigned long current = 0;
    std::size_t digits = 0;
    for (const char c : version) {
        if (c >= '0' && c <= '9') {
            if (++digits > 9) {
                return std::nullopt;
            }
            current = current * 10 + static_cast<unsigned long>(c - '0');
        } else if (c == '.' && digits > 0) {
            parts.push_back(current);
            current = 0;
            digits = 0;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    parts.push_back(current);
    if (parts.size() > 4) {
        return std::nullopt;
    }
    return parts;
}

bool isNewer(std::string_view offered, std::string_view running) {
    auto a = versionParts(offered);
    auto b = versionParts(running);
    if (!a || !b) {
        return false;
    }
    const auto size = std::max(a->size(), b->size());
    a->resize(size, 0);
    b->resize(size, 0);
    return *a > *b;
}

} // namespace Orvel::UpdateFeed
