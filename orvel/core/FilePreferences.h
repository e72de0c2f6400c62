#pragma once

// The preferences of the app: a small JSON file ("preferences.json", beside
// config.json), read once when the store is created and replaced atomically
// (mode 0600) after every change.
//
//   {"version":1,"values":{
//     "onlyInterrupt":true,
//     "lastInboxOpenedAt":{"date":"2026-12-06T10:15:30.250000Z"},
//     "pinnedCardIds":["a","b"],
//     "popoverWindowWidth":500.0,
//     "popoverWindowSizeVersion":2}}
//
// Each type has a form of its own, so every value reads back with the type it
// was stored with: an integer is written without a fraction, a double always
// with one (or an exponent), a date as an object holding UTC text with
// microseconds (years outside 0000...9999 carry a sign and more digits), and
// a double that JSON cannot hold as {"double":"nan"}, "inf" or "-inf".
//
// An entry this version cannot read is absent to callers but kept in the file
// unchanged until its key is set or removed. A file that exists but cannot be
// read is left alone: the store starts empty, and a change is written only
// once the file can be read again (on top of what it holds). A file that is
// not such a document or has another version is moved aside
// ("preferences.json.unreadable-<UTC time>") and the store starts empty, so
// the next save cannot destroy what it held.

#include "orvel/core/Preferences.h"
#include "orvelkit/store/StoreDiagnostic.h"
#include "orvelkit/store/StoreFile.h"
#include "orvelkit/support/Expected.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace Orvel {

class FilePreferences final : public Preferences {
public:
    static constexpr std::int64_t formatVersion = 1;

    struct Entry {
        std::optional<PreferenceValue> value; // absent: an entry this version cannot read
        std::string json;                     // the entry's value as written in the file
    };
    using Entries = std::map<std::string, Entry, std::less<>>;

    // The entries of a file's text, or why the file cannot be used.
    static OrvelKit::Expected<Entries, std::string> parse(std::string_view text);
    // The file's text for `entries`.
    static std::string serialize(const Entries& entries);

    explicit FilePreferences(std::filesystem::path file,
                             OrvelKit::StoreDiagnosticSink diagnostics = {});

    std::optional<PreferenceValue> value(std::string_view key) const override;
    // A key or a text that is not valid UTF-8 cannot be written: such a value
    // is refused and the stored one stays.
    void set(std::string_view key, PreferenceValue value) override;
    void remove(std::string_view key) override;

    const std::filesystem::path& file() const { return file_.path(); }

private:
    void load();
    void readAgainIfUnread();
    void save() const;

    OrvelKit::StoreFile file_;
    Entries entries_;
};

} // namespace Orvel
