#include "orvelkit/presentation/UpdateDetail.h"

#include "orvelkit/presentation/PresentationHelpers.h"

#include <string_view>

namespace OrvelKit::Presentation {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

std::string approvingAgentName(const OrvelProtocol::Notification& notification) {
    // U+00B7 in UTF-8.
    constexpr std::string_view middleDot = "\xC2\xB7";
    const bool hasSender = notification.sender && !notification.sender->empty();
    std::string_view rest =
        hasSender ? std::string_view(*notification.sender) : std::string_view(notification.channel);
    while (true) {
        const auto cut = rest.find(middleDot);
        const auto piece = trimmed(rest.substr(0, cut));
        // A piece of nothing but white space names no one either.
        if (!piece.empty()) {
            return std::string(piece);
        }
        if (cut == std::string_view::npos) {
            return "the agent";
        }
        rest.remove_prefix(cut + middleDot.size());
    }
}

std::optional<OpenableLink> firstOpenableLink(const std::vector<OrvelProtocol::Link>& links) {
    for (const auto& link : links) {
        if (auto url = webURL(link.url)) {
            return OpenableLink{link.label, std::move(*url)};
        }
    }
    return std::nullopt;
}

} // namespace OrvelKit::Presentation
