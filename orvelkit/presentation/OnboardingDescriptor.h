#pragma once

// The manual-connection form of onboarding: whether the server URL, channel
// and publish token entered so far are usable, and the one-line hint that
// says what is still missing.

#include <optional>
#include <string>

namespace OrvelKit {

struct OnboardingDescriptor {
    // As entered (not trimmed).
    std::string serverURL;
    std::string channel;
    std::string token;
    // The server URL without surrounding horizontal white space, when it
    // parses as an absolute URL whose scheme is written exactly "https" or
    // "http". Otherwise left as written: no slash is added or removed.
    std::optional<std::string> normalizedBaseURL;
    // All three inputs are acceptable.
    bool canConnect = false;
    // The first thing to fix, or "Ready to connect".
    std::string hint;

    // Checks, in this order: a usable server URL; a channel that is more than
    // horizontal white space; a token that starts with "orvel_pub_" and has
    // something after it. Line breaks are not trimmed from either text.
    OnboardingDescriptor(std::string serverURL, std::string channel, std::string token);

    bool operator==(const OnboardingDescriptor&) const = default;
};

} // namespace OrvelKit
