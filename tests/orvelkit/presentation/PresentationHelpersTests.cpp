#include "orvelkit/presentation/PresentationHelpers.h"

#include <gtest/gtest.h>

#include <limits>

namespace OrvelKit {
void PrintTo(const InboxImageDescriptor& d, std::ostream* out) {
    *out << "{" << d.id << ", " << d.url << ", " << d.alt.value_or("-") << ", "
         << d.width.value_or(-1) << ", " << d.height.value_or(-1) << "}";
}
} // namespace OrvelKit

using OrvelKit::Date;
using OrvelKit::InboxImageDescriptor;
using OrvelProtocol::Attachment;
namespace Presentation = OrvelKit::Presentation;

namespace {
constexpr std::int64_t leapDayNoon = 1'709'210'096'000'000; // 2024-02-29T12:34:56Z
constexpr std::int64_t year2017 = 1'483'228'800'000'000;
} // namespace

TEST(ParseISO, AcceptsInternetDateTimes) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"2024-02-29T14:34:56+02:00", leapDayNoon},
        {"2024-03-01T12:33:56+23:59", leapDayNoon},
        {"2024-02-29T12:34:56.999999999Z", leapDayNoon + 999'999},
        {"1969-12-31T23:59:59.5Z", -500'000},
        // A leap second ends a UTC day and reads as the next second.
        {"2017-01-01T00:59:60+01:00", year2017}};
    for (const auto& [text, expected] : cases) {
        const std::optional<Date> date = Presentation::parseISO(text);
        ASSERT_TRUE(date.has_value()) << text;
        EXPECT_EQ(date->microsecondsSinceEpoch(), expected) << text;
    }
}

TEST(ParseISO, RejectsEverythingElse) {
    const char* cases[] = {"",
                           "2024-01-02T03:04:05",
                           "2024-01-02T03:04:05+0200",
                           "2024-02-30T00:00:00Z",
                           "2016-12-31T23:59:60+01:00",
                           "\xef\xbc\x92\xef\xbc\x90\xef\xbc\x92\xef\xbc\x94-01-01T00:00:00Z"};
    for (const char* text : cases) {
        EXPECT_EQ(Presentation::parseISO(text), std::nullopt) << text;
    }
    EXPECT_EQ(Presentation::parseISO(std::string_view("2024-01-02T03:04:05Z\0", 21)), std::nullopt);
}

TEST(ImageDescriptors, KeepsWebURLsWithTheirOriginalPositions) {
    const auto attachment = [](std::string url, std::optional<std::uint64_t> w = std::nullopt,
                               std::optional<std::uint64_t> h = std::nullopt) {
        Attachment a;
        a.url = std::move(url);
        a.w = w;
        a.h = h;
        return a;
    };
    Attachment described = attachment("HTTPS://Images.Example.com/shot.png?size=2#top", 1280, 720);
    described.alt = "Build graph";
    described.enc = OrvelProtocol::AttachmentEnc{"key", "image/png"};
    const std::uint64_t int64Max = std::numeric_limits<std::int64_t>::max();
    const std::vector<Attachment> attachments = {
        attachment("ftp://example.com/a.png"),
        described,
        attachment("relative/b.png"), // must not resolve against the previous URL
        attachment("javascript:alert(1)"),
        attachment("https://exa mple.com/c.png"),
        attachment(std::string("https://example.com/d.png\0.exe", 30)),
        attachment("http://example.com", int64Max + 1, int64Max),
        attachment("file:///etc/passwd")};
    const std::vector<InboxImageDescriptor> expected = {
        {1, "https://Images.Example.com/shot.png?size=2#top", "Build graph", 1280, 720},
        {6, "http://example.com/", std::nullopt, std::nullopt,
         std::numeric_limits<std::int64_t>::max()}};
    EXPECT_EQ(Presentation::imageDescriptors(attachments), expected);
}
