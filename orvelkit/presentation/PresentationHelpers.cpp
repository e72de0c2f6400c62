#include "orvelkit/presentation/PresentationHelpers.h"

#include "orvelkit/presentation/TextTrimming.h"

#include <curl/curl.h>

#include <limits>
#include <memory>

namespace OrvelKit::Presentation {

namespace {

// Days from 1970-01-01 to the given proleptic Gregorian date (H. Hinnant's
// days_from_civil).
constexpr std::int64_t daysFromCivil(int year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<std::int64_t>(era) * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

constexpr unsigned daysInMonth(int year, unsigned month) {
    constexpr unsigned char lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) {
        return 29;
    }
    return lengths[month - 1];
}

// Reads text[at], text[at + 1] as a two-digit number; -1 if either is not a digit.
inline int twoDigits(const char* text, std::size_t at) {
    const unsigned tens = static_cast<unsigned char>(text[at]) - unsigned{'0'};
    const unsigned ones = static_cast<unsigned char>(text[at + 1]) - unsigned{'0'};
    if (tens > 9 || ones > 9) {
        return -1;
    }
    return static_cast<int>(tens * 10 + ones);
}

inline bool isDigit(char c) {
    return static_cast<unsigned char>(c) - unsigned{'0'} <= 9;
}

inline bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

inline char upper(char c) {
    return (c >= 'a' && c <= 'f') ? static_cast<char>(c - 32) : c;
}

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlStringDeleter {
    void operator()(char* text) const { curl_free(text); }
};
using CurlString = std::unique_ptr<char, CurlStringDeleter>;

std::optional<std::int64_t> signedDimension(const std::optional<std::uint64_t>& value) {
    if (!value || *value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(*value);
}

} // namespace

std::optional<Date> parseISO(std::string_view text) {
    // "YYYY-MM-DDTHH:MM:SS" and at least a one-character zone.
    constexpr std::size_t shortest = 20;
    const std::size_t size = text.size();
    if (size < shortest) {
        return std::nullopt;
    }
    const char* p = text.data();
    const int century = twoDigits(p, 0);
    const int yearOfCentury = twoDigits(p, 2);
    const int month = twoDigits(p, 5);
    const int day = twoDigits(p, 8);
    const int hour = twoDigits(p, 11);
    const int minute = twoDigits(p, 14);
    const int second = twoDigits(p, 17);
    if ((century | yearOfCentury | month | day | hour | minute | second) < 0 || p[4] != '-' ||
        p[7] != '-' || p[10] != 'T' || p[13] != ':' || p[16] != ':') {
        return std::nullopt;
    }
    const int year = century * 100 + yearOfCentury;
    if (month < 1 || month > 12 || day < 1 ||
        static_cast<unsigned>(day) > daysInMonth(year, static_cast<unsigned>(month)) || hour > 23 ||
        minute > 59 || second > 60) {
        return std::nullopt;
    }

    std::size_t at = 19;
    std::int64_t microseconds = 0;
    if (p[at] == '.') {
        const std::size_t first = ++at;
        int scale = 100000;
        while (at < size && isDigit(p[at])) {
            microseconds += (p[at] - '0') * scale;
            scale /= 10;
            ++at;
        }
        if (at == first) {
            return std::nullopt;
        }
    }

    int offsetMinutes = 0;
    if (at == size) {
        return std::nullopt;
    }
    if (p[at] == 'Z') {
        ++at;
    } else if (p[at] == '+' || p[at] == '-') {
        if (size - at < 6) {
            return std::nullopt;
        }
        const int offsetHours = twoDigits(p, at + 1);
        const int offsetMinute = twoDigits(p, at + 4);
        if (offsetHours < 0 || offsetMinute < 0 || p[at + 3] != ':' || offsetHours > 23 ||
            offsetMinute > 59) {
            return std::nullopt;
        }
        offsetMinutes = (offsetHours * 60 + offsetMinute) * (p[at] == '-' ? -1 : 1);
        at += 6;
    } else {
        return std::nullopt;
    }
    if (at != size) {
        return std::nullopt;
    }

    const int minuteOfDay = hour * 60 + minute;
    if (second == 60) {
        // A leap second exists only as the last second of a UTC day.
        const int utcMinuteOfDay = ((minuteOfDay - offsetMinutes) % 1440 + 1440) % 1440;
        if (utcMinuteOfDay != 1439) {
            return std::nullopt;
        }
    }
    const std::int64_t seconds =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
        (minuteOfDay - offsetMinutes) * 60 + second;
    return Date::fromMicrosecondsSinceEpoch(seconds * 1000000 + microseconds);
}

std::string relativeTime(std::optional<Date> created, Date now) {
    if (!created) {
        return {};
    }
    const double elapsed = now.timeIntervalSince(*created);
    if (elapsed < 60) {
        return "now";
    }
    if (elapsed < 3600) {
        return std::to_string(static_cast<std::int64_t>(elapsed / 60)) + "m";
    }
    if (elapsed < 86400) {
        return std::to_string(static_cast<std::int64_t>(elapsed / 3600)) + "h";
    }
    return std::to_string(static_cast<std::int64_t>(elapsed / 86400)) + "d";
}

std::string relativeTime(std::string_view createdAt, Date now) {
    return relativeTime(parseISO(createdAt), now);
}

std::string senderLabel(const OrvelProtocol::Notification& notification) {
    if (notification.sender && !notification.sender->empty()) {
        return *notification.sender;
    }
    return notification.channel;
}

std::optional<std::string> normalizeHex(const std::optional<std::string>& color) {
    if (!color) {
        return std::nullopt;
    }
    return normalizeHex(std::string_view(*color));
}

std::optional<std::string> normalizeHex(std::string_view color) {
    std::string_view digits = trimmingHorizontalWhitespace(color);
    if (!digits.empty() && digits.front() == '#') {
        digits.remove_prefix(1);
    }
    if (digits.size() != 3 && digits.size() != 6) {
        return std::nullopt;
    }
    for (const char c : digits) {
        if (!isHexDigit(c)) {
            return std::nullopt;
        }
    }
    std::string result = "#";
    for (const char c : digits) {
        result += upper(c);
        if (digits.size() == 3) {
            result += upper(c);
        }
    }
    return result;
}

std::optional<std::string> webURL(const std::string& text) {
    // A NUL would cut the text short for the C parser; such text is no URL.
    if (text.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    // A fresh handle per URL: a handle that already holds a URL would resolve
    // relative text against it.
    const std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) {
        return std::nullopt;
    }
    char* rawScheme = nullptr;
    if (curl_url_get(url.get(), CURLUPART_SCHEME, &rawScheme, 0) != CURLUE_OK) {
        return std::nullopt;
    }
    const CurlString scheme(rawScheme);
    std::string lowered(scheme.get());
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (lowered != "https" && lowered != "http") {
        return std::nullopt;
    }
    char* rawURL = nullptr;
    if (curl_url_get(url.get(), CURLUPART_URL, &rawURL, 0) != CURLUE_OK) {
        return std::nullopt;
    }
    const CurlString normalised(rawURL);
    return std::string(normalised.get());
}

std::vector<InboxImageDescriptor>
imageDescriptors(const std::vector<OrvelProtocol::Attachment>& attachments) {
    std::vector<InboxImageDescriptor> descriptors;
    for (std::size_t position = 0; position < attachments.size(); ++position) {
        const OrvelProtocol::Attachment& attachment = attachments[position];
        std::optional<std::string> url = webURL(attachment.url);
        if (!url) {
            continue;
        }
        descriptors.push_back(InboxImageDescriptor{position, std::move(*url), attachment.alt,
                                                   signedDimension(attachment.w),
                                                   signedDimension(attachment.h)});
    }
    return descriptors;
}

} // namespace OrvelKit::Presentation
