#include "orvel/core/FilePreferences.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <simdjson.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>

namespace Orvel {

namespace {

using JsonWriter =
    rapidjson::Writer<rapidjson::StringBuffer, rapidjson::UTF8<>, rapidjson::UTF8<>,
                      rapidjson::CrtAllocator, rapidjson::kWriteValidateEncodingFlag>;

constexpr std::int64_t microsecondsPerDay = 86'400'000'000;

// Days since 1970-01-01 of a proleptic Gregorian date, for any year an
// int64 count of microseconds can reach.
constexpr std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

struct CivilDate {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

constexpr CivilDate civilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

constexpr bool isLeapYear(std::int64_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

constexpr unsigned daysInMonth(std::int64_t year, unsigned month) {
    constexpr unsigned lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

// "2026-12-06T10:15:30.250000Z"; "+12026-..." or "-0001-..." outside 0000...9999.
std::string formatDate(OrvelKit::Date date) {
    const std::int64_t micros = date.microsecondsSinceEpoch();
    std::int64_t days = micros / microsecondsPerDay;
    std::int64_t rest = micros % microsecondsPerDay;
    if (rest < 0) {
        rest += microsecondsPerDay;
        days -= 1;
    }
    const CivilDate civil = civilFromDays(days);
    const auto seconds = rest / 1'000'000;
    char year[24];
    if (civil.year >= 0 && civil.year <= 9999) {
        std::snprintf(year, sizeof year, "%04lld", static_cast<long long>(civil.year));
    } else {
        std::snprintf(year, sizeof year, "%+05lld", static_cast<long long>(civil.year));
    }
    char text[64];
    std::snprintf(text, sizeof text, "%s-%02u-%02uT%02lld:%02lld:%02lld.%06lldZ", year, civil.month,
                  civil.day, static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60),
                  static_cast<long long>(rest % 1'000'000));
    return text;
}

class TextScanner {
public:
    explicit TextScanner(std::string_view text) : text_(text) {}

    bool atEnd() const { return position_ == text_.size(); }
    bool peek(char c) const { return position_ < text_.size() && text_[position_] == c; }
    bool take(char c) {
        if (!peek(c)) {
            return false;
        }
        ++position_;
        return true;
    }
    // Exactly `count` digits.
    bool digits(std::size_t count, std::int64_t& out) {
        out = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (position_ >= text_.size() || text_[position_] < '0' || text_[position_] > '9') {
                return false;
            }
            out = out * 10 + (text_[position_++] - '0');
        }
        return true;
    }
    // As many digits as there are (at most `maximum`); how many were read.
    std::size_t digitsUpTo(std::size_t maximum, std::int64_t& out) {
        out = 0;
        std::size_t count = 0;
        while (count < maximum && position_ < text_.size() && text_[position_] >= '0' &&
               text_[position_] <= '9') {
            out = out * 10 + (text_[position_++] - '0');
            ++count;
        }
        return count;
    }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

// Reads what formatDate writes; also a fraction of fewer digits, none at all,
// and a lower-case "z". Anything else, or a date out of range, is nothing.
std::optional<OrvelKit::Date> parseDate(std::string_view text) {
    TextScanner scanner(text);
    std::int64_t year = 0;
    if (scanner.peek('+') || scanner.peek('-')) {
        const bool negative = scanner.take('-');
        if (!negative) {
            scanner.take('+');
        }
        // Six digits reach far beyond what a Date can hold.
        const std::size_t count = scanner.digitsUpTo(7, year);
        if (count < 4 || count > 6) {
            return std::nullopt;
        }
        year = negative ? -year : year;
    } else if (!scanner.digits(4, year)) {
        return std::nullopt;
    }
    std::int64_t month = 0, day = 0, hour = 0, minute = 0, second = 0, fraction = 0;
    if (!scanner.take('-') || !scanner.digits(2, month) || !scanner.take('-') ||
        !scanner.digits(2, day) || !scanner.take('T') || !scanner.digits(2, hour) ||
        !scanner.take(':') || !scanner.digits(2, minute) || !scanner.take(':') ||
        !scanner.digits(2, second)) {
        return std::nullopt;
    }
    if (scanner.take('.')) {
        const std::size_t count = scanner.digitsUpTo(7, fraction);
        if (count == 0 || count > 6) {
            return std::nullopt;
        }
        for (std::size_t i = count; i < 6; ++i) {
            fraction *= 10;
        }
    }
    if (!(scanner.take('Z') || scanner.take('z')) || !scanner.atEnd()) {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, static_cast<unsigned>(month)) || hour > 23 || minute > 59 ||
        second > 59) {
        return std::nullopt;
    }
    const std::int64_t days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    const std::int64_t timeOfDay = ((hour * 60 + minute) * 60 + second) * 1'000'000 + fraction;
    // Before the epoch, counted back from the end of the day, so that the
    // earliest representable day (whose start lies out of range) still reads.
    const std::int64_t wholeDays = days >= 0 ? days : days + 1;
    const std::int64_t intoDay = days >= 0 ? timeOfDay : timeOfDay - microsecondsPerDay;
    std::int64_t micros = 0;
    if (__builtin_mul_overflow(wholeDays, microsecondsPerDay, &micros) ||
        __builtin_add_overflow(micros, intoDay, &micros)) {
        return std::nullopt;
    }
    return OrvelKit::Date::fromMicrosecondsSinceEpoch(micros);
}

std::optional<std::string> encodeValue(const PreferenceValue& value) {
    rapidjson::StringBuffer buffer;
    JsonWriter writer(buffer);
    const bool written = std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>) {
                return writer.Bool(v);
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                return writer.Int64(v);
            } else if constexpr (std::is_same_v<T, double>) {
                if (std::isfinite(v)) {
                    // The writer always puts a fraction or an exponent in a
                    // double (500.0, 1e300), so it never reads back as an integer.
                    return writer.Double(v);
                }
                const char* name = std::isnan(v) ? "nan" : v > 0 ? "inf" : "-inf";
                return writer.StartObject() && writer.Key("double") && writer.String(name) &&
                       writer.EndObject();
            } else if constexpr (std::is_same_v<T, OrvelKit::Date>) {
                const std::string text = formatDate(v);
                return writer.StartObject() && writer.Key("date") &&
                       writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size())) &&
                       writer.EndObject();
            } else {
                static_assert(std::is_same_v<T, std::vector<std::string>>);
                if (!writer.StartArray()) {
                    return false;
                }
                for (const std::string& text : v) {
                    if (!writer.String(text.data(),
                                       static_cast<rapidjson::SizeType>(text.size()))) {
                        return false;
                    }
                }
                return writer.EndArray();
            }
        },
        value);
    if (!written) {
        return std::nullopt;
    }
    return std::string(buffer.GetString(), buffer.GetSize());
}

bool isValidKey(std::string_view key) {
    rapidjson::StringBuffer buffer;
    JsonWriter writer(buffer);
    return writer.String(key.data(), static_cast<rapidjson::SizeType>(key.size()));
}

// The single member of `object` named `name`, when that is all it holds.
std::optional<std::string_view> soleTextMember(simdjson::dom::object object,
                                               std::string_view name) {
    if (object.size() != 1) {
        return std::nullopt;
    }
    const auto member = *object.begin();
    std::string_view text;
    if (member.key != name || member.value.get_string().get(text)) {
        return std::nullopt;
    }
    return text;
}

std::optional<PreferenceValue> decodeValue(simdjson::dom::element element) {
    using simdjson::dom::element_type;
    switch (element.type()) {
    case element_type::BOOL:
        return PreferenceValue(element.get_bool().value_unsafe());
    case element_type::INT64:
        return PreferenceValue(element.get_int64().value_unsafe());
    case element_type::DOUBLE:
        return PreferenceValue(element.get_double().value_unsafe());
    case element_type::ARRAY: {
        simdjson::dom::array array;
        if (element.get_array().get(array)) {
            return std::nullopt;
        }
        std::vector<std::string> texts;
        for (simdjson::dom::element item : array) {
            std::string_view text;
            if (item.get_string().get(text)) {
                return std::nullopt;
            }
            texts.emplace_back(text);
        }
        return PreferenceValue(std::move(texts));
    }
    case element_type::OBJECT: {
        simdjson::dom::object object;
        if (element.get_object().get(object)) {
            return std::nullopt;
        }
        if (auto text = soleTextMember(object, "date")) {
            if (auto date = parseDate(*text)) {
                return PreferenceValue(*date);
            }
            return std::nullopt;
        }
        if (auto text = soleTextMember(object, "double")) {
            if (*text == "nan") {
                return PreferenceValue(std::numeric_limits<double>::quiet_NaN());
            }
            if (*text == "inf") {
                return PreferenceValue(std::numeric_limits<double>::infinity());
            }
            if (*text == "-inf") {
                return PreferenceValue(-std::numeric_limits<double>::infinity());
            }
        }
        return std::nullopt;
    }
    default:
        // UINT64 (beyond the integer range), strings and null have no
        // preference type.
        return std::nullopt;
    }
}

} // namespace

FilePreferences::FilePreferences(std::filesystem::path file,
                                 OrvelKit::StoreDiagnosticSink diagnostics)
    : file_(std::move(file), std::move(diagnostics)) {
    load();
}

void FilePreferences::load() {
    auto contents = file_.read();
    if (!contents || !*contents) {
        return;
    }
    auto entries = parse(OrvelKit::StoreFile::text(**contents));
    if (!entries) {
        file_.reject(entries.error());
        return;
    }
    entries_ = std::move(entries).value();
}

OrvelKit::Expected<FilePreferences::Entries, std::string>
FilePreferences::parse(std::string_view text) {
    using OrvelKit::unexpected;
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    if (auto error = parser.parse(text.data(), text.size()).get(root)) {
        return unexpected(std::string("not a JSON document: ") + simdjson::error_message(error));
    }
    simdjson::dom::object document;
    std::int64_t version = 0;
    simdjson::dom::object values;
    if (root.get_object().get(document)) {
        return unexpected(std::string("not a JSON object"));
    }
    if (document["version"].get_int64().get(version)) {
        return unexpected(std::string("no integer \"version\""));
    }
    if (version != formatVersion) {
        return unexpected("unknown version " + std::to_string(version));
    }
    if (document["values"].get_object().get(values)) {
        return unexpected(std::string("no object \"values\""));
    }
    Entries entries;
    for (const auto member : values) {
        if (entries.contains(member.key)) {
            continue; // the first of repeated keys counts
        }
        auto value = decodeValue(member.value);
        // Readable entries are written afresh; others are kept as they came.
        std::optional<std::string> json;
        if (value) {
            json = encodeValue(*value);
        }
        entries.emplace(
            std::string(member.key),
            Entry{std::move(value), json ? std::move(*json) : simdjson::minify(member.value)});
    }
    return entries;
}

std::optional<PreferenceValue> FilePreferences::value(std::string_view key) const {
    auto found = entries_.find(key);
    if (found == entries_.end()) {
        return std::nullopt;
    }
    return found->second.value;
}

void FilePreferences::set(std::string_view key, PreferenceValue value) {
    readAgainIfUnread();
    auto json = encodeValue(value);
    if (!json || !isValidKey(key)) {
        file_.report(OrvelKit::StoreDiagnostic::Event::encodeFailed,
                     "a preference key or text is not valid UTF-8");
        return;
    }
    Entry entry{std::move(value), std::move(*json)};
    auto found = entries_.find(key);
    if (found == entries_.end()) {
        entries_.emplace(std::string(key), std::move(entry));
    } else {
        found->second = std::move(entry);
    }
    save();
}

void FilePreferences::remove(std::string_view key) {
    readAgainIfUnread();
    auto found = entries_.find(key);
    if (found == entries_.end()) {
        return;
    }
    entries_.erase(found);
    save();
}

void FilePreferences::readAgainIfUnread() {
    // A change is made on top of what the file holds once it can be read.
    if (file_.isProtected()) {
        load();
    }
}

void FilePreferences::save() const {
    file_.writeIfChanged(serialize(entries_));
}

std::string FilePreferences::serialize(const Entries& entries) {
    rapidjson::StringBuffer buffer;
    JsonWriter writer(buffer);
    writer.StartObject();
    writer.Key("version");
    writer.Int64(formatVersion);
    writer.Key("values");
    writer.StartObject();
    for (const auto& [key, entry] : entries) {
        writer.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
        writer.RawValue(entry.json.data(), entry.json.size(), rapidjson::kObjectType);
    }
    writer.EndObject();
    writer.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize());
}

} // namespace Orvel
