#include "orvelkit/client/ServicePaths.h"

#include "orvelkit/client/PercentEncoding.h"

#include <algorithm>
#include <vector>

namespace OrvelKit {

namespace {

std::optional<std::string> cursorList(const std::map<std::string, std::uint64_t>& cursors) {
    std::vector<std::string> items;
    items.reserve(cursors.size());
    for (const auto& [channel, seq] : cursors) {
        items.push_back(channel + ":" + std::to_string(seq));
    }
    // The whole item is compared, so "x-y:1" comes before "x:9".
    std::sort(items.begin(), items.end());
    std::string joined;
    for (const auto& item : items) {
        if (!joined.empty()) {
            joined += ',';
        }
        joined += item;
    }
    return percentEncode(joined, URLCharacters::query);
}

} // namespace

std::optional<std::string> pullPath(std::string_view channel, std::uint64_t after) {
    auto encoded = percentEncode(channel, URLCharacters::path);
    if (!encoded) {
        return std::nullopt;
    }
    return "c/" + *encoded + "/pull?after=" + std::to_string(after);
}

std::optional<std::string> syncPath(const std::map<std::string, std::uint64_t>& cursors,
                                    const std::map<std::string, std::uint64_t>& cardCursors) {
    std::vector<std::string> items;
    if (!cursors.empty()) {
        auto list = cursorList(cursors);
        if (!list) {
            return std::nullopt;
        }
        items.push_back("after=" + *list);
    }
    if (!cardCursors.empty()) {
        auto list = cursorList(cardCursors);
        if (!list) {
            return std::nullopt;
        }
        items.push_back("cards_after=" + *list);
    }
    std::string path = "sync";
    for (std::size_t i = 0; i < items.size(); ++i) {
        path += i == 0 ? '?' : '&';
        path += items[i];
    }
    return path;
}

} // namespace OrvelKit
