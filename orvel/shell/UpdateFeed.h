#pragma once

// The update feed: a small JSON document at a fixed address that names the
// newest release,
//
//   {"version": "0.3.0", "url": "https://example.org/orvel/0.3.0"}
//
// and the rule that decides whether it is newer than the running build.

#include "orvelkit/json/Schema.h"
#include "orvelkit/support/Expected.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Orvel {

struct UpdateFeedEntry {
    std::string version;
    // Where the release is fetched (opened in the browser).
    std::string url;
    std::optional<std::string> notes;

    bool operator==(const UpdateFeedEntry&) const = default;
};

inline auto jsonSchema(std::type_identity<UpdateFeedEntry>) {
    using namespace OrvelKit::Json;
    return std::tuple{requiredKey("version", &UpdateFeedEntry::version),
                      requiredKey("url", &UpdateFeedEntry::url),
                      optionalKey("notes", &UpdateFeedEntry::notes)};
}

namespace UpdateFeed {

// The feed's entry; an error text when the document is not a feed or its
// address is not an http or https one.
OrvelKit::Expected<UpdateFeedEntry, std::string> parse(std::string_view json);

// "1.2.10" as {1, 2, 10}; nothing unless it is one to four dot-separated
// numbers (a leading "v" is allowed).
std::optional<std::vector<unsigned long>> versionParts(std::string_view version);

// Whether `offered` is a later version than `running`; false when either is
// not a version.
bool isNewer(std::string_view offered, std::string_view running);

} // namespace UpdateFeed
} // namespace Orvel
